// What the buttons, the Alt keys and the list's double-click and keys do, and the
// questions asked before the program closes.
#include "../controls/MessageBox.h"
#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/EntryTable.h"
#include "../core/ShowError.h"
#include "../framework/ListPlace.h"
#include "../resources/resource.h"
#include "CalendarFiles.h"
#include "InfoDialog.h"
#include "ReminderDialog.h"
#include "SetupDialog.h"

#include <string.h>

// Set when the table could not grow after an Add; Add is refused from then on.
int tableFull;

static int Ask(HWND owner, const char* text, const char* caption, int style)
{
    return messageBox.Show(owner, text, caption, style, NULL, 0, RGB(192, 192, 192),
                           RGB(128, 128, 128));
}

// In Edit mode every record is listed in table order, so the selected line's
// position is the record's index; -1 when nothing is selected.
static int SelectedRecord(const ListBoxControl* list)
{
    if (list == NULL)
        return -1;
    return (int)SendMessageA(list->window, LB_GETCURSEL, 0, 0);
}

static HWND ListWindow(const ListBoxControl* list) { return list != NULL ? list->window : NULL; }

void Application::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (listBox != NULL && (HWND)lParam == listBox->window && lParam != 0) {
        if (HIWORD(wParam) == LBN_DBLCLK)
            EditReminder();
        return;
    }
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        if (CanClose())
            Destroy();
        break;
    case IDM_ADD: AddReminder(); break;
    case IDM_SETUP: {
        // A new look-ahead range changes what Reminder mode lists.
        int rangeBefore = Range;
        if (RunSetupDialog(window) || (reminderMode && Range != rangeBefore))
            RefreshList();
        break;
    }
    case IDM_EDIT: EditReminder(); break;
    case IDM_ABOUT: ShowAboutBox(window); break;
    case IDM_REMOVE: RemoveReminder(); break;
    case IDM_MODE: ToggleMode(); break;
    case IDM_INFO: RunInfoDialog(window); break;
    case IDM_SAVE: SaveDataFile(); break;
    case IDM_EXPORT_CALENDAR: ExportWithDialog(window); break;
    case IDM_IMPORT_CALENDAR: ImportWithDialog(window); break;
    default: break;
    }
}

// After a refill the user's place is kept, with the reminder just added or
// edited selected: the same record (sorted into its place) has the same bytes.
static void SelectRecord(HWND list, const ListPlace& place, const ReminderEntry& record, int count)
{
    for (int i = 0; i < count; ++i) {
        if (memcmp(&entryTable.records[i], &record, sizeof record) == 0) {
            ReturnToPlace(list, place, LineWithData(list, i));
            return;
        }
    }
}

void Application::AddReminder()
{
    if (tableFull || reminderMode)
        return;
    workDate.year = today.year;
    workDate.month = today.month;
    workDate.day = today.day;
    workDate.hour = 18;
    workDate.minute = 0;
    workEntry.annual = 0;
    workEntry.text[0] = '\0';
    int result = RunReminderDialog(window, 1, AskTime, &workDate);
    if (result == 0 || result == -1)
        return;
    entryTable.records[entryCount] = workEntry;
    ++entryCount;
    if (entryCount == entryTable.capacity) {
        entryTable.GrowTable();
        if (entryCount == entryTable.capacity) {
            ShowError("Out of memory", "");
            tableFull = 1;
        }
    }
    entryTable.count = entryCount;
    modified = 1;
    ListPlace place = RememberPlace(ListWindow(listBox));
    RefreshList();
    SelectRecord(ListWindow(listBox), place, workEntry, entryCount);
}

void Application::EditReminder()
{
    if (reminderMode)
        return;
    int index = SelectedRecord(listBox);
    if (index < 0 || index >= entryCount)
        return;
    ReminderEntry* record = &entryTable.records[index];
    ParseDate(record->dateText, &workDate);
    ParseTime(record->timeText, &workDate, 1);
    // An annual 29 February stored with a common year is no day the calendar
    // can show: it opens on the next leap day instead.
    if (record->annual && workDate.month == 2 && workDate.day == 29)
        workDate.year = (uint16_t)NextLeapYear(today.year + (today.month > 2 ? 1 : 0));
    workEntry.annual = record->annual;
    workEntry.hasTime = record->hasTime;
    CopyText(workEntry.text, sizeof workEntry.text, record->text);
    int result = RunReminderDialog(window, 0, AskTime, &workDate);
    if (result == 0 || result == -1)
        return;
    *record = workEntry;
    modified = 1;
    ListPlace place = RememberPlace(ListWindow(listBox));
    RefreshList();
    SelectRecord(ListWindow(listBox), place, workEntry, entryCount);
}

void Application::RemoveReminder()
{
    if (reminderMode)
        return;
    int index = SelectedRecord(listBox);
    if (index < 0 || index >= entryCount)
        return;
    char question[140];
    CopyText(question, sizeof question, entryTable.records[index].text);
    AppendText(question, sizeof question, "\n\nDelete this reminder?");
    if (Ask(window, question, "Delete", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    entryTable.count = entryCount;
    if (entryTable.RemoveAt(index)) {
        --entryCount;
        modified = 1;
        ListPlace place = RememberPlace(ListWindow(listBox));
        int line = SelectedRecord(listBox);
        RefreshList();
        // The line that took its place, or the new last one.
        ReturnToPlace(ListWindow(listBox), place, line);
    }
}

// -2 tells the list the key was taken; -1 leaves every other key, and these
// three in Reminder mode, to the list itself.
int Application::OnVKeyToItem(WPARAM wParam)
{
    if (reminderMode)
        return -1;
    switch (LOWORD(wParam)) {
    case VK_RETURN: EditReminder(); return -2;
    case VK_DELETE: RemoveReminder(); return -2;
    case VK_INSERT: AddReminder(); return -2;
    default: return -1;
    }
}

// Closing never loses reminders silently: when the save fails (its error has
// been shown), the user decides whether to close anyway.
static int SavedOrAbandoned(Application* app)
{
    if (app->SaveDataFile())
        return 1;
    return Ask(app->window, "Close without saving?", "Tarvendel", MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

int Application::CanClose()
{
    if (AutoRemove && MarkOldEntries())
        return SavedOrAbandoned(this);
    if (firstRun)
        return SavedOrAbandoned(this);
    if (!modified)
        return 1;
    // Only a pressed "No" lets the edits go: a box closed without a button,
    // or one that could not be shown (0), keeps the window and the edits.
    int answer = Ask(window, "Save data?", "Tarvendel", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES)
        return SavedOrAbandoned(this);
    return answer == IDNO;
}
