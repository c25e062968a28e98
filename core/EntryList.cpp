// Building the entry table from the data file, and showing it in the list
// and the status bar.
#include "../framework/ButtonBar.h"
#include "../framework/StatusBar.h"
#include "../resources/resource.h"
#include "Application.h"
#include "BoundedString.h"
#include "EntryReader.h"
#include "EntryTable.h"
#include "ShowError.h"

#include <stdlib.h>
#include <string.h>

// Fills record from one line of the data file, as read.
static void FillEntry(ReminderEntry* record, const char* dateToken, const char* timeToken,
                      const char* textToken)
{
    DateRecord& work = theApp.workDate;
    record->removed = 0;
    record->timeText[0] = '\0';
    // A date that does not parse still gives an entry, from what the parse left.
    ParseDate(dateToken, &work);
    // The file keeps two digits of each number. Numbers they cannot hold (a
    // month of 1225, the year 4006 that 12/25/2006 reads as) are taken as the
    // digits the file will hold, so that the record sorts and recurs now as it
    // will after the next start.
    if (work.month > 99 || work.day > 99 ||
        (work.year != 0 && (work.year < 1996 || work.year > 2095))) {
        char written[10];
        FormatDate(&work, written, sizeof written);
        if (work.year == 0)
            written[5] = '\0';
        ParseDate(written, &work);
    }
    if (timeToken[0] == '\0') {
        timeToken = "06:30";
        record->hasTime = 0;
    } else {
        record->hasTime = 1;
    }
    if (ParseFileTime(timeToken, &work) && work.timeValid)
        FormatTime12(&work, record->timeText, sizeof record->timeText);
    record->annual = ResolveAnnualYear(&work, &today);
    record->isToday = IsToday(&work, &today);
    record->dayOfWeek = (uint32_t)DayOfWeek(work.year, work.month, work.day);
    FormatDate(&work, record->dateText, sizeof record->dateText);
    MakeSortKey(&work, record->sortKey, sizeof record->sortKey);
    CopyText(record->text, sizeof record->text, textToken);
}

int Application::BuildEntryTable()
{
    int built = 0;
    if (entryTable.InitTable(100, 75, sizeof(ReminderEntry)) == NULL) {
        ShowError("Out of memory", "");
    } else {
        parseCursor = textBuffer;
        entryCount = 0;
        char date[kDateTokenSize], time[kTimeTokenSize], text[kTextTokenSize];
        built = 1;
        while (textBuffer != NULL && ReadEntryLine(date, time, text)) {
            FillEntry(&entryTable.records[entryCount], date, time, text);
            ++entryCount;
            if (entryCount == entryTable.capacity) {
                entryTable.GrowTable();
                if (entryCount == entryTable.capacity) {
                    ShowError("Out of memory", "");
                    built = 0;
                    break;
                }
            }
        }
        entryTable.count = entryCount;
        if (built)
            RefreshList();
    }
    ReleaseTextBuffer();
    return built;
}

// The minute of the day that the file gets for record, or -1 when it gets no time.
static int WrittenMinute(const ReminderEntry* record)
{
    DateRecord time;
    if (!record->hasTime || record->timeText[0] == '\0' ||
        !ParseTime(record->timeText, &time, 1) || !time.timeValid)
        return -1;
    return time.hour * 60 + time.minute;
}

// Keys hold only digits, for which a byte comparison orders exactly as the
// locale's string comparison does, at a fraction of the cost per call. The
// reminders of one day come out in one order whatever order they were in
// (untimed first, then by time, then by text): the sort is not stable, and
// every load and save would shuffle them in the list and in the file.
static int CompareSortKeys(const void* a, const void* b)
{
    const ReminderEntry* first = static_cast<const ReminderEntry*>(a);
    const ReminderEntry* second = static_cast<const ReminderEntry*>(b);
    int order = strcmp(first->sortKey, second->sortKey);
    if (order != 0)
        return order;
    int firstMinute = WrittenMinute(first), secondMinute = WrittenMinute(second);
    if (firstMinute != secondMinute)
        return firstMinute < secondMinute ? -1 : 1;
    if (first->annual != second->annual)
        return first->annual ? -1 : 1;
    return strcmp(first->text, second->text);
}

// The list line of a record: day, date, time or its empty column, text.
static void BuildListLine(const ReminderEntry* record, int timeColumn, char* line, size_t size)
{
    CopyTextN(line, size, kDayNames[record->dayOfWeek % 7], 3);
    AppendText(line, size, "  ");
    AppendText(line, size, record->dateText);
    AppendText(line, size, "  ");
    if (record->hasTime) {
        AppendText(line, size, record->timeText);
        AppendText(line, size, "  ");
    } else if (timeColumn) {
        AppendText(line, size, "          ");
    }
    AppendText(line, size, record->text);
}

// The Reminder-mode filter. An annual record is judged by its month and day,
// which resolve to the next occurrence: its stored 29 February of a common
// year would not parse, while 02/29 counts as 1 March there.
static int ReminderModeState(const ReminderEntry* record, DateRecord* missedOn)
{
    if (!record->annual)
        return theApp.DueState(record->dateText, NULL, missedOn);
    char monthAndDay[6];
    CopyTextN(monthAndDay, sizeof monthAndDay, record->dateText, 5);
    return theApp.DueState(monthAndDay, record->dateText, missedOn);
}

// A missed reminder is listed with the day it fell due, not its next one.
static void BuildMissedLine(const ReminderEntry* record, const DateRecord* day, int timeColumn,
                            char* line, size_t size)
{
    ReminderEntry shown = *record;
    shown.dayOfWeek = (uint32_t)DayOfWeek(day->year, day->month, day->day);
    FormatDate(day, shown.dateText, sizeof shown.dateText);
    BuildListLine(&shown, timeColumn, line, size);
}

void Application::RefreshList()
{
    ReminderEntry* records = entryTable.records;
    if (entryCount > 1)
        qsort(records, (size_t)entryCount, sizeof(ReminderEntry), CompareSortKeys);

    HWND list = listBox != NULL ? listBox->window : NULL;
    // Refilled in one go: no repaint per line, and room for all lines at once.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, (WPARAM)entryCount, (LPARAM)entryCount * 64);
    // In Reminder mode the missed reminders come first, in the order of the
    // days they fell due (the table is in the order of their next days).
    // They lie within kMissedDays of today, so a count per day gives each
    // one's place among them; ties keep the table's order.
    int missedBefore[kMissedDays + 2] = {};
    long todayNumber = DayNumber(&today, kDayNumberBase);
    for (int i = 0; i < entryCount; ++i) {
        DateRecord day;
        int state = reminderMode ? ReminderModeState(&records[i], &day) : kInRange;
        if (state == kNotDue)
            continue;
        char line[140];
        LPARAM data = i;
        int at = -1;
        if (state == kMissed) {
            BuildMissedLine(&records[i], &day, TimeCol, line, sizeof line);
            long back = todayNumber - DayNumber(&day, kDayNumberBase);
            int slot = back < 1 ? 1 : (back > kMissedDays ? kMissedDays : (int)back);
            at = 0;
            for (int older = kMissedDays; older >= slot; --older)
                at += missedBefore[older];
            ++missedBefore[slot];
            data |= kMissedLine;
        } else {
            BuildListLine(&records[i], TimeCol, line, sizeof line);
        }
        at = (int)SendMessageA(list, LB_INSERTSTRING, (WPARAM)at, (LPARAM)line);
        SendMessageA(list, LB_SETITEMDATA, (WPARAM)at, data);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    UpdateStatusBar();
}

void Application::UpdateStatusBar()
{
    char text[40];
    CopyText(text, sizeof text, kDayNames[today.dayOfWeek % 7]);
    AppendText(text, sizeof text, ", ");
    AppendText(text, sizeof text, today.month >= 1 && today.month <= 12 ? kMonthNames[today.month] : "");
    AppendText(text, sizeof text, " ");
    AppendUnsigned(text, sizeof text, today.day);
    AppendText(text, sizeof text, ", ");
    AppendUnsigned(text, sizeof text, today.year);
    if (statusBar != NULL)
        statusBar->SetPartText(0, text);

    if (buttonBar != NULL) {
        buttonBar->EnableButton(IDM_ADD, !reminderMode);
        buttonBar->EnableButton(IDM_EDIT, !reminderMode);
        buttonBar->EnableButton(IDM_REMOVE, !reminderMode);
    }
    if (statusBar != NULL) {
        statusBar->SetPartText(1, reminderMode ? "\tReminder mode" : "\tEdit mode");
        FormatSigned(text, sizeof text, entryCount);
        statusBar->SetPartText(2, text);
        statusBar->SetPartText(3, modified ? "Mod" : "");
    }
}

void Application::ToggleMode()
{
    reminderMode = 1 - reminderMode;
    RefreshList();
}

int Application::MarkOldEntries()
{
    int marked = 0;
    long todayNumber = DayNumber(&today, kDayNumberBase);
    for (int i = 0; i < entryCount; ++i) {
        ReminderEntry* record = &entryTable.records[i];
        if (record->annual)
            continue;
        if (!ParseDate(record->dateText, &workDate)) {
            ShowError("Invalidate date", record->dateText);
            continue;
        }
        if (DayNumber(&workDate, kDayNumberBase) - todayNumber < 0) {
            record->removed = 1;
            marked = 1;
        }
    }
    return marked;
}
