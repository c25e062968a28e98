// "Run at startup": the program's value under the per-user Run key, the
// unlock-and-wake task beside it, and the switch that Windows shows for the
// Run value in its list of start-up apps.
#pragma once

#include <stddef.h>

// In wchar_t elements: a full path, two quotes and " RUN".
const size_t kRunEntryLength = 272;

// The start-up command for the running program file programFile: the file
// itself, in double quotes when the path holds a blank (unquoted, Windows
// could run a different program at login), then " RUN". Returns 0 when it
// did not fit.
int BuildRunEntry(const wchar_t* programFile, wchar_t* entry, size_t count);

// The running program's file in UTF-16, so that a folder outside the
// system's code page keeps its name; 0 when it is too long to start from.
int GetProgramFileWide(wchar_t* path, size_t count);

// Whether the user has turned the program off in the system's list of
// start-up apps (Task Manager, Settings). Asks only the registry, so a start
// from the start-up list stays cheap.
int StartupSwitchedOff();

// What "Run at startup" shows: on when the Run value or this user's task is
// there, unless the user has turned the program off in the system's list.
int StartupIsOn();

// Says message in the program's box, the scheduler's error code (hex) as its detail.
void ShowTaskError(const char* message, long error);
