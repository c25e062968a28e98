// The application state, which is also the main window object.
#pragma once

#include "../framework/MainWindow.h"
#include "DateTime.h"
#include "FileSystem.h"
#include "NextAlert.h"

class Application : public MainWindow {
public:
    Application();
    void PreRegisterClass(WNDCLASSA& windowClass) override;
    void PreCreateWindow(CREATESTRUCTA& create) override;

    // Start-up: the four data-preparation steps, in this order.
    void ParseCommandLine();
    void ReadCommandLine(const char* commandLine);
    void LocateDataFolder();
    void MigrateOldDataFile();
    int LoadDataFile();
    void ReleaseTextBuffer();

    int ShouldShowWindow();
    // A start from the start-up list: ShouldShowWindow, ended at once when
    // the file is the one judged quiet last time and nothing new can be due.
    int DecideRunStart();
    // "Run only once a day" and a run that opened the window today.
    int HeldBackToday();
    // Judges every line until one is due; 1 then.
    int ScanForDueReminders();
    // The last day a start judges: today and Range days on (a day number).
    long LastJudgedDay();
    // detail is what "Invalidate date" names; the date text itself when NULL.
    int IsWithinRange(const char* dateText, const char* detail = NULL);
    // Whether a date is due at this start: missed since the last run that
    // opened the window (the day it fell due in missedOn, when not NULL),
    // within the look-ahead range, or neither.
    enum { kNotDue, kInRange, kMissed };
    int DueState(const char* dateText, const char* detail, DateRecord* missedOn);
    // The days on which a reminder counts as missed, for ShownDate and today.
    const MissedSpan& MissedDays();
    int ReadEntryLine(char* date, char* time, char* text);

    // The entry table and the list
    int BuildEntryTable();
    void RefreshList();
    // Takes day as today, moving every record's next day and the list with
    // it; 0 when day is today already.
    int MoveToDay(const DateRecord* day);
    // Whether anything would open the window at a RUN start now (once a
    // day aside): a reminder due or missed, or "always".
    int HasDueReminders();
    // The Reminder-mode list is on the screen: what it shows is no longer missed.
    void NoteListShown();
    void UpdateStatusBar();
    void ToggleMode();
    int MarkOldEntries();
    int SaveDataFile();
    int StartWindows(int showCommand);
    // The window start-up up to the first showing: 1, or StartWindows' result
    // for a failure (0 without a main window, -1 without the last button).
    int OpenMainWindow(int showCommand);
    void OnAfterDestroy() override;
    // The window's icons follow it to a monitor of another scale.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam) override;
    // Gives the window its icons at its DPI; at 96 DPI on a 96-DPI screen
    // the class's icon serves as it always did.
    void SetWindowIcons();
    void OnDrawItem(WPARAM controlId, LPARAM item) override;

    // Following the day while the window is open
    void ArmDayTimer();
    // Takes the clock's day (later, while a dialog or box is open) and, when
    // a RUN start handed itself over meanwhile, brings the window forward
    // as that start would have opened it.
    void FollowTheDay();
    // Restored if minimized, with the dialog or box open over it on top.
    void BringToFront();
    void OnTimer(WPARAM timerId) override;
    // The clock set, a wake from sleep, a RUN start handing itself over.
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(WPARAM wParam, LPARAM lParam) override;

    // The nine commands, the list's double-click and closing
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    int CanClose() override;
    void AddReminder();
    void EditReminder();
    void RemoveReminder();
    // Enter, Delete and Insert in the list: Edit, Remove and Add in Edit mode.
    int OnVKeyToItem(WPARAM wParam) override;
    // The list's menu: calendar files out and in.
    void OnContextMenu(WPARAM wParam, LPARAM lParam) override;

    // Settings store
    // Everything, as LoadDecisionSettings and then LoadWindowSettings.
    void LoadSettings();
    // What a start from the start-up list needs to decide whether the window
    // opens at all and to keep the alert task current: a start that ends
    // unseen reads nothing more.
    void LoadDecisionSettings();
    // The rest: what the window, its dialogs and the save at its close use.
    void LoadWindowSettings();
    // An old data file the user chose not to use (its write time and size),
    // so that it is not asked about again.
    int RememberDeclinedOldFile(const unsigned long long mark[2]);
    int SaveSettings();
    // Points the Run value and the task at the running file, or removes
    // both; 0 after a failure has been shown.
    int ApplyRunAtStartup();
    int SaveState() override;
    int RestorePlacement() override;

    HICON bigIcon;
    HICON smallIcon;
    int bigIconOwned;
    int smallIconOwned;
    int AlwaysRun;
    int AskTime;
    int AutoRemove;
    int RunOnce;
    int TimeCol;
    int modified;
    int reminderMode;
    unsigned firstRun;
    unsigned runAtStartup;
    int Range;
    int entryCount;
    // Missed reminders in the list at its last refill.
    int missedCount;
    // A RUN start found the window open and waits for the day to be taken.
    int handOverWaiting;
    // Set once the list holds the reminders: the window shows before that.
    int listFilled;
    unsigned RunDay;
    // Today's full date (YYYYMMDD) of the last run that opened the window,
    // 0 when the registry holds none; it decides "once a day" where RunDay
    // alone would also refuse the same day number of a later month.
    unsigned RunDate;
    // The last day (YYYYMMDD) on which the due reminders were shown (the
    // Reminder-mode list on the screen); reminders that fell due after it
    // are missed until they are shown. 0 when nothing tells: then none are.
    unsigned ShownDate;
    unsigned long long DeclinedOldFile[2];
    char* textBuffer;
    const char* parseCursor;
    int textBufferSize;
    // The text is a view of the data file, not a block of memory.
    int textMapped;
    char programPath[kPathSize];
    // The running program's file, whatever path it was started by (a bare
    // name found on the PATH, a relative path); programPath is as typed.
    char programFile[kPathSize];
    char dataFolder[kPathSize];
    char dataFilePath[kPathSize];
    DateRecord workDate;
    // The days of missed reminders, for the RunDate and today it was made for.
    MissedSpan missedSpan;
    unsigned missedSpanShownDate;
    unsigned missedSpanToday;
    // Fires at the next midnight, so that an open window follows the day.
    enum { kDayTimer = 1 };

    // Alerts at a reminder's time (app/AlertArming.cpp, app/AlertStart.cpp)
    int Alerts;
    AlertState alert;
    // When the alert task is set to start the program, 0 when there is none.
    AlertMinute AlertArmed;
    // The snooze the user chose last, an index into the alert window's list.
    int SnoozeChoice;
    // Started by the alert task (/RALERT).
    int alertStart;
    // The next timed reminder, found by the run decision's scan when
    // alertScanned is set.
    NextAlertScan alertScan;
    int alertScanned;
    // The date the run decision's scan parsed last, as in the file, when
    // scannedAhead says it is not a one-off day gone by.
    DateRecord scannedDate;
    int scannedAhead;
    // What the scan found beside: the first day after its range on which a
    // reminder falls (kNoDay for none), and the dates it could not read.
    long quietNextDay;
    int badDates;
    // Reads the alert values from the open settings key; the defaults when null.
    void LoadAlertSettings(class RegKey* settings);
    // What keeping the task where it belongs needs: the switch, the time
    // armed, a pending snooze. A start that ends unseen with the task in
    // place reads nothing more.
    void LoadAlertArming(class RegKey* settings);
    // The rest: the last alert shown, the snoozed span, the snooze chosen.
    void LoadAlertDetails(class RegKey* settings);
    // LoadAlertDetails from the registry, unless read already: before the
    // alert start looks for due reminders and before any alert value is written.
    void ReadAlertDetails();
    int alertDetailsRead;
    // Writes the alert values that change outside the window's settings.
    int SaveAlertState();
    // Writes "Alerts" alone.
    int SaveAlertSwitch();
    // Finishes the scan over what the run decision left unread.
    void ScanRestForAlerts();
    // After the run decision: the task follows the file's next timed
    // reminder, when the decision's scan found it or the window follows.
    void FollowScannedAlert(int windowFollows);
    // The next alert from the entry table, as seen at now.
    AlertMinute NextAlertOfTable(AlertMinute now);
    // The scheduler's error of the last KeepAlertArmed that failed.
    long alertError;
    // Arms, moves or deletes the alert task so that it starts the program at
    // the next alert; COM is touched only when that time differs from the
    // armed one. 0 when the scheduler refused (nothing shown here).
    int KeepAlertArmed(AlertMinute next);
    // From the entry table, after a save or a change of the setting; says a
    // failure in the program's box (the user is at the window).
    void RearmFromTable();
};

extern Application theApp;

// The argument the alert task starts the program with, as upper-cased.
const char kAlertArgument[] = "/RALERT";

// The alert window's snooze choices, in minutes.
const int kSnoozeChoices = 6;
extern const int kSnoozeMinutes[kSnoozeChoices];

// Marks a Reminder-mode list line as a missed reminder; the rest of its item
// data is the record's index.
const LPARAM kMissedLine = 0x40000000;

// Read once at start-up and never refreshed: every "today" of a run means the
// day it started, also after midnight.
extern DateRecord today;

// YYYYMMDD of a date, as RunDate stores it.
unsigned DateStamp(const DateRecord* date);

// WinMain's steps up to the run decision; returns the process exit code.
int StartProgram(HINSTANCE instance, int showCommand);
