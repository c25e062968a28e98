#include "AlertStart.h"

#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/EntryReader.h"
#include "AlertWindow.h"
#include "StartupEntry.h"

namespace {

const int kMostShown = 40;

struct DueReminder {
    AlertMinute when;
    char text[kTextTokenSize];
};

DueReminder due[kMostShown];
int dueCount;
int moreCount;
// One line per reminder as the list shows it, and a line for the rest.
char lines[kMostShown * (kTextTokenSize + 24) + 40];

void AddDue(AlertMinute when, const char* text)
{
    if (dueCount == kMostShown) {
        ++moreCount;
        return;
    }
    // In the order of their time; a file is mostly in order already.
    int at = dueCount++;
    while (at > 0 && due[at - 1].when > when) {
        due[at] = due[at - 1];
        --at;
    }
    due[at].when = when;
    CopyText(due[at].text, sizeof due[at].text, text);
}

void BuildLines()
{
    lines[0] = '\0';
    for (int i = 0; i < dueCount; ++i) {
        DateRecord at;
        DateOfMinute(due[i].when, &at);
        char part[12];
        // A reminder of another day than today (one missed before midnight)
        // says its date.
        if (at.year != today.year || at.month != today.month || at.day != today.day) {
            FormatDate(&at, part, sizeof part);
            AppendText(lines, sizeof lines, part);
            AppendText(lines, sizeof lines, "  ");
        }
        FormatTime12(&at, part, sizeof part);
        AppendText(lines, sizeof lines, part);
        AppendText(lines, sizeof lines, "  ");
        AppendText(lines, sizeof lines, due[i].text);
        if (i + 1 < dueCount || moreCount > 0)
            AppendText(lines, sizeof lines, "\n");
    }
    if (moreCount > 0) {
        AppendText(lines, sizeof lines, "and ");
        AppendUnsigned(lines, sizeof lines, (unsigned)moreCount);
        AppendText(lines, sizeof lines, " more");
    }
}

AlertMinute ClockNow()
{
    DateRecord now;
    GetLocalTime(reinterpret_cast<SYSTEMTIME*>(&now));
    return MinuteOf(&now);
}

// The program as a start by hand opens it: its window, or the open one
// brought forward.
void OpenProgram()
{
    wchar_t program[MAX_PATH];
    wchar_t commandLine[MAX_PATH + 3] = L"\"";
    if (!GetProgramFileWide(program, MAX_PATH) || !AppendWide(commandLine, MAX_PATH + 3, program) ||
        !AppendWide(commandLine, MAX_PATH + 3, L"\""))
        return;
    // The started program may take the foreground from the window the user
    // has just answered.
    AllowSetForegroundWindow(ASFW_ANY);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(program, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

} // namespace

int RunAlertStart()
{
    Application& app = theApp;
    app.ReadAlertDetails();
    app.LocateDataFolder();
    // Silent as a start from the start-up list is: a file beside the
    // program is left for a start by hand to ask about.
    app.MigrateOldDataFile();
    if (!app.LoadDataFile())
        return 1;
    AlertMinute now = MinuteOf(&today);
    NextAlertScan scan;
    StartAlertScan(&scan, now);
    dueCount = moreCount = 0;
    AlertMinute first = 0, last = 0;
    char date[kDateTokenSize];
    char time[kTimeTokenSize];
    char text[kTextTokenSize];
    app.parseCursor = app.textBuffer;
    while (app.ReadEntryLine(date, time, text)) {
        DateRecord parsed;
        AlertMinute when = 0;
        if (time[0] == '\0' || !ParseDate(date, &parsed))
            continue;
        if (app.Alerts && IsDueForAlert(&parsed, time, &app.alert, now, &when)) {
            AddDue(when, text);
            first = first == 0 || when < first ? when : first;
            last = when > last ? when : last;
        }
        NoteTimedReminder(&scan, &parsed, time);
    }
    app.ReleaseTextBuffer();
    // A snooze whose time has come is shown now, or its reminders are gone.
    if (app.alert.snoozeUntil != 0 && app.alert.snoozeUntil <= now)
        app.alert.snoozeUntil = app.alert.snoozeFrom = app.alert.snoozeTo = 0;

    int answer = 0;
    if (dueCount > 0) {
        BuildLines();
        answer = alertWindow.ShowAlert(lines, &app.SnoozeChoice);
        app.alert.shown = now;
    }
    AlertMinute closed = ClockNow();
    if (answer == AlertWindow::kSnooze) {
        AlertMinute until = closed + (AlertMinute)kSnoozeMinutes[app.SnoozeChoice];
        // One snooze still pending keeps its reminders beside these.
        if (app.alert.snoozeUntil != 0) {
            until = app.alert.snoozeUntil < until ? app.alert.snoozeUntil : until;
            first = app.alert.snoozeFrom < first ? app.alert.snoozeFrom : first;
            last = app.alert.snoozeTo > last ? app.alert.snoozeTo : last;
        }
        app.alert.snoozeUntil = until;
        app.alert.snoozeFrom = first;
        app.alert.snoozeTo = last;
    }
    app.SaveAlertState();
    if (answer == AlertWindow::kOpen)
        OpenProgram();
    // What fell due while the window was open comes a minute later, after
    // what is shown now.
    AlertMinute next = NextAlertTime(&scan, &app.alert);
    if (next != 0 && next <= closed)
        next = closed + 1;
    app.KeepAlertArmed(next);
    return 0;
}
