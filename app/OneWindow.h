// One main window per session: two windows on the one data file would each
// save over the other's changes.
#pragma once

#include <windows.h>

// 1 when a main window of the program is open in this session. Asks the
// kernel only while no other start holds the window's guard, so a start
// from the start-up list stays cheap. A guard held with no window to show
// for it (a process that hangs holding it, or that merely took its name)
// is waited for a short while, then passed over: it must not silence every
// start.
int IsMainWindowOpen();

// Claims the session's one main window for this process, right before the
// window is created; 0 when another process has one. Held until released.
// A guard held with no window is passed over as IsMainWindowOpen does.
int ClaimMainWindow();
void ReleaseMainWindow();

// Marks window as the program's main window, for a later start to find.
int MarkMainWindow(HWND window);
// Brings the open main window to the front, restored if minimized, with the
// dialog or box open over it on top; 0 when none was found.
int ShowOpenMainWindow();
// Restores the main window if minimized and brings it, or the dialog or box
// open over it, to the front; 0 when Windows kept another in the foreground.
int BringMainWindowForward(HWND main);

// The message by which a start from the start-up list hands itself over to
// the open window; 0 if it cannot be registered.
UINT RunStartMessage();
// Lets the open main window take the day and come forward if anything is
// due; 0 when none was found.
int HandRunStartOver();

// Marks this process as a running Tarvendel from its first moment to its
// last, window or not, for Setup to find. Never released: the system drops
// it with the process.
void ClaimProcessGuard();
