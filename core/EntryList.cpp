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

static void PlaceOnCalendar(ReminderEntry* record, DateRecord* work);

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
    PlaceOnCalendar(record, &work);
    CopyText(record->text, sizeof record->text, textToken);
}

// Gives a record's date day of the week, date text and sort key as seen from
// today; a date without a year (work's year 0) goes to its next occurrence.
static void PlaceOnCalendar(ReminderEntry* record, DateRecord* work)
{
    record->annual = ResolveAnnualYear(work, &today);
    record->isToday = IsToday(work, &today);
    record->dayOfWeek = (uint32_t)DayOfWeek(work->year, work->month, work->day);
    FormatDate(work, record->dateText, sizeof record->dateText);
    MakeSortKey(work, record->sortKey, sizeof record->sortKey);
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

// The reminders of one day come out in one order whatever order they were in
// (untimed first, then by time, then by text): the sort is not stable, and
// every load and save would shuffle them in the list and in the file.
static int CompareWithinDay(const ReminderEntry* first, const ReminderEntry* second)
{
    int firstMinute = WrittenMinute(first), secondMinute = WrittenMinute(second);
    if (firstMinute != secondMinute)
        return firstMinute < secondMinute ? -1 : 1;
    if (first->annual != second->annual)
        return first->annual ? -1 : 1;
    return strcmp(first->text, second->text);
}

// Keys hold only digits, for which a byte comparison orders exactly as the
// locale's string comparison does, at a fraction of the cost per call.
static int CompareSortKeys(const void* a, const void* b)
{
    const ReminderEntry* first = static_cast<const ReminderEntry*>(a);
    const ReminderEntry* second = static_cast<const ReminderEntry*>(b);
    int order = strcmp(first->sortKey, second->sortKey);
    return order != 0 ? order : CompareWithinDay(first, second);
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

// The date a record is judged by. An annual one is judged by its month and
// day, which resolve to the next occurrence: its stored 29 February of a
// common year would not parse, while 02/29 counts as 1 March there.
static const char* JudgedDate(const ReminderEntry* record, char monthAndDay[6])
{
    if (!record->annual)
        return record->dateText;
    CopyTextN(monthAndDay, 6, record->dateText, 5);
    return monthAndDay;
}

// The Reminder-mode filter.
static int ReminderModeState(const ReminderEntry* record, DateRecord* missedOn)
{
    char monthAndDay[6];
    return theApp.DueState(JudgedDate(record, monthAndDay), record->dateText, missedOn);
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

// A line on its way into the Reminder-mode list.
struct DueLine {
    const ReminderEntry* record;
    int index;
    long day;
    DateRecord missedOn;
};

// By the day they fell due, and within a day as every day is listed (the
// table holds annual ones at their next day, one-off ones at their own).
static int CompareMissedLines(const void* a, const void* b)
{
    const DueLine* first = static_cast<const DueLine*>(a);
    const DueLine* second = static_cast<const DueLine*>(b);
    if (first->day != second->day)
        return first->day < second->day ? -1 : 1;
    return CompareWithinDay(first->record, second->record);
}

static void AddLine(HWND list, const char* line, LPARAM data)
{
    LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line);
    SendMessageA(list, LB_SETITEMDATA, (WPARAM)at, data);
}

// A missed reminder is marked for its colour; in Reminder mode it also
// shows the day it fell due.
static void AddRecordLine(HWND list, const DueLine* due, int missed, int atMissedDay,
                          int timeColumn)
{
    char line[140];
    if (atMissedDay)
        BuildMissedLine(due->record, &due->missedOn, timeColumn, line, sizeof line);
    else
        BuildListLine(due->record, timeColumn, line, sizeof line);
    AddLine(list, line, due->index | (missed ? kMissedLine : 0));
}

// Whether a record's date parses, asked without the "Invalidate date" that
// only the Reminder-mode list shows.
static int CanBeJudged(const ReminderEntry* record)
{
    DateRecord probe;
    char monthAndDay[6];
    return ParseDate(JudgedDate(record, monthAndDay), &probe);
}

static int IsMissedQuietly(const ReminderEntry* record)
{
    return CanBeJudged(record) && ReminderModeState(record, NULL) == Application::kMissed;
}

// The missed reminders first, in the order of the days they fell due, then
// the coming ones in table order: judged once each, in one pass (a record
// whose date does not parse is reported once per refill). Returns the number
// of missed lines, or -1 when there is no memory to order them.
static int ListDueLines(HWND list, int timeColumn)
{
    int count = theApp.entryCount;
    DueLine* lines = (DueLine*)GlobalAlloc(GMEM_FIXED, sizeof(DueLine) * (size_t)(count + 1));
    if (lines == NULL)
        return -1;
    // Missed ones gather from the front, coming ones from the back.
    int missed = 0, coming = count;
    for (int i = 0; i < count; ++i) {
        DueLine due;
        due.record = &entryTable.records[i];
        due.index = i;
        int state = ReminderModeState(due.record, &due.missedOn);
        if (state == Application::kNotDue)
            continue;
        if (state == Application::kMissed) {
            due.day = DayNumber(&due.missedOn, kDayNumberBase);
            lines[missed++] = due;
        } else {
            lines[--coming] = due;
        }
    }
    qsort(lines, (size_t)missed, sizeof(DueLine), CompareMissedLines);
    for (int i = 0; i < missed; ++i)
        AddRecordLine(list, &lines[i], 1, 1, timeColumn);
    for (int i = count - 1; i >= coming; --i)
        AddRecordLine(list, &lines[i], 0, 0, timeColumn);
    GlobalFree(lines);
    return missed;
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
    missedCount = reminderMode ? ListDueLines(list, TimeCol) : -1;
    if (missedCount < 0) {
        // Edit mode lists every record at its own next day, in table order;
        // a missed one keeps its colour there, so that a start by hand shows
        // that something was missed without using it up. (Reminder mode
        // comes here only without the memory to put missed lines first.)
        missedCount = 0;
        for (int i = 0; i < entryCount; ++i) {
            DueLine due = {&records[i], i, 0, DateRecord()};
            int state = reminderMode ? ReminderModeState(&records[i], &due.missedOn)
                                     : (IsMissedQuietly(&records[i]) ? kMissed : kInRange);
            if (state == kNotDue)
                continue;
            missedCount += state == kMissed;
            AddRecordLine(list, &due, state == kMissed, state == kMissed && reminderMode, TimeCol);
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    UpdateStatusBar();
    listFilled = 1;
    NoteListShown();
}

void Application::NoteListShown()
{
    if (reminderMode && listFilled && window != NULL && IsWindowVisible(window) &&
        !IsIconic(window))
        ShownDate = DateStamp(&today);
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
        if (!reminderMode && missedCount > 0) {
            // Missed reminders are used up only by the Reminder-mode list.
            CopyText(text, sizeof text, "\t");
            AppendUnsigned(text, sizeof text, (unsigned)missedCount);
            AppendText(text, sizeof text, " missed, see Mode");
            statusBar->SetPartText(1, text);
        } else {
            statusBar->SetPartText(1, reminderMode ? "\tReminder mode" : "\tEdit mode");
        }
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
    const MissedSpan& span = MissedDays();
    for (int i = 0; i < entryCount; ++i) {
        ReminderEntry* record = &entryTable.records[i];
        if (record->annual)
            continue;
        if (!ParseDate(record->dateText, &workDate)) {
            ShowError("Invalidate date", record->dateText);
            continue;
        }
        // A past reminder goes only once it has been listed: one missed
        // since the due reminders were last shown waits to be seen.
        long number = DayNumber(&workDate, kDayNumberBase);
        if (number < span.end && number < span.oneOffFirst) {
            record->removed = 1;
            marked = 1;
        }
    }
    return marked;
}

int Application::MoveToDay(const DateRecord* day)
{
    if (DateStamp(day) == DateStamp(&today))
        return 0;
    today = *day;
    // Annual reminders move on to their next occurrence, and "today" to
    // other lines; a date that never parsed stays as it was built.
    for (int i = 0; i < entryCount; ++i) {
        ReminderEntry* record = &entryTable.records[i];
        char monthAndDay[6];
        DateRecord work = {};
        if (ParseDate(JudgedDate(record, monthAndDay), &work))
            PlaceOnCalendar(record, &work);
    }
    RefreshList();
    return 1;
}

int Application::HasDueReminders()
{
    if (AlwaysRun)
        return 1;
    for (int i = 0; i < entryCount; ++i) {
        const ReminderEntry* record = &entryTable.records[i];
        if (CanBeJudged(record) && ReminderModeState(record, NULL) != kNotDue)
            return 1;
    }
    return 0;
}
