// Reminders out to a calendar file, and reminders in from calendar and
// contacts files: the step between those UTF-8 files and the table, whose
// texts are in the system's code page.
#pragma once

#include <windows.h>

// Asked for on the command line: token is a parameter, upper-cased, and file
// the token after it. Returns how many tokens it took (2 with the file, 1
// without one), 0 for a parameter that is not a calendar one.
int TakeCalendarParameter(const char* token, const char* file);
// A /EXPORT start: writes the data file's reminders and returns the exit code
// (0, or 1 after its error has been shown); a /IMPORT start while the window
// is open brings that window forward and says so (0). Otherwise -1.
int RunCommandLineExport();
// A /IMPORT start, once the list is filled: the import and its summary.
int ImportRequested();
void RunCommandLineImport();

// Writes every reminder in the table to path; 0 after an error has been shown.
int ExportCalendarFile(const char* path);

struct CalendarImportCounts {
    int added;
    int alreadyThere;  // same date, time and text as a reminder in the table
    int noDate;
    int otherRepeat;
    int outsideYears;
    int noText;
    int textChanged;   // characters the code page cannot hold
    int textCut;
};

// Adds the reminders of a calendar or contacts file to the table and shows
// what was done. Nothing is added when the file cannot be used whole or the
// table cannot hold it; 0 then, after the message.
int ImportCalendarFile(HWND owner, const char* path, CalendarImportCounts* counts);

// The summary the import shows.
void DescribeImport(const char* path, const CalendarImportCounts* counts, char* text, size_t size);

// The list's context menu, and the commands behind it with their file dialogs.
void ShowListMenu(HWND owner, HWND list, LPARAM where);
void ExportWithDialog(HWND owner);
void ImportWithDialog(HWND owner);
