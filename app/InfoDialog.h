// The Info dialog with the built-in help text, and the About box.
#pragma once

#include <windows.h>

// 21 lines joined by CR LF, as a multi-line edit box wants them.
extern const char kHelpText[];

// The dialog procedure of template 104.
INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the help text modally over owner until OK, Escape or the close box.
void RunInfoDialog(HWND owner);

// The program's name, version and web address in the About box.
void ShowAboutBox(HWND owner);
