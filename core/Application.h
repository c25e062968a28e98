// The application state, which is also the main window object.
#pragma once

#include "../framework/MainWindow.h"
#include "DateTime.h"
#include "FileSystem.h"

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
    // detail is what "Invalidate date" names; the date text itself when NULL.
    int IsWithinRange(const char* dateText, const char* detail = NULL);
    // Whether a date is due at this start: missed since the last run that
    // opened the window (the day it fell due in missedOn, when not NULL),
    // within the look-ahead range, or neither.
    enum { kNotDue, kInRange, kMissed };
    int DueState(const char* dateText, const char* detail, DateRecord* missedOn);
    int ReadEntryLine(char* date, char* time, char* text);

    // The entry table and the list
    int BuildEntryTable();
    void RefreshList();
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

    // The nine commands, the list's double-click and closing
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    int CanClose() override;
    void AddReminder();
    void EditReminder();
    void RemoveReminder();
    // Enter, Delete and Insert in the list: Edit, Remove and Add in Edit mode.
    int OnVKeyToItem(WPARAM wParam) override;

    // Settings store
    void LoadSettings();
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
    unsigned RunDay;
    // Today's full date (YYYYMMDD) of the last run that opened the window,
    // 0 when the registry holds none; it decides "once a day" where RunDay
    // alone would also refuse the same day number of a later month.
    unsigned RunDate;
    char* textBuffer;
    const char* parseCursor;
    int textBufferSize;
    char programPath[kPathSize];
    // The running program's file, whatever path it was started by (a bare
    // name found on the PATH, a relative path); programPath is as typed.
    char programFile[kPathSize];
    char dataFolder[kPathSize];
    char dataFilePath[kPathSize];
    DateRecord workDate;
    // The days of missed reminders, for the RunDate and today it was made for.
    MissedSpan missedSpan;
    unsigned missedSpanRunDate;
    unsigned missedSpanToday;
};

extern Application theApp;

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
