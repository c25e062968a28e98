// The Setup dialog: the look-ahead range and the six option boxes.
#pragma once

#include <windows.h>

// The dialog procedure of template 103; the init parameter is the Application
// whose settings it edits.
INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over owner. 1 when an accepted OK changed the
// time-column option (the list must be rebuilt), else 0, also when the
// dialog could not be shown.
int RunSetupDialog(HWND owner);
