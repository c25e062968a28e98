// One main window per session: two windows on the one data file would each
// save over the other's changes.
#pragma once

#include <windows.h>

// 1 when a main window of the program is open in this session. Asks the
// kernel only, so a start from the start-up list stays cheap.
int IsMainWindowOpen();

// Claims the session's one main window for this process, right before the
// window is created; 0 when another process has one. Held until released.
int ClaimMainWindow();
void ReleaseMainWindow();

// Marks window as the program's main window, for a later start to find.
int MarkMainWindow(HWND window);
// Brings the open main window to the front, restored if minimized, with the
// dialog or box open over it on top; 0 when none was found.
int ShowOpenMainWindow();

// The message by which a start from the start-up list hands itself over to
// the open window; 0 if it cannot be registered.
UINT RunStartMessage();
// Lets the open main window take the day and come forward if anything is
// due; 0 when none was found.
int HandRunStartOver();
