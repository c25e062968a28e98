// Lengths of the windows are written as they are at 96 DPI (100 %) and
// brought to the DPI of the monitor a window is on when they are used, so
// that at 96 DPI every pixel stays where it always was.
#pragma once

#include <windows.h>

const int kBaseDpi = 96;
// Sent to each child after its top-level window moved to another DPI
// (WM_DPICHANGED_AFTERPARENT, which older headers lack).
const UINT kDpiChangedAfterParent = 0x02E3;

// The DPI a window is drawn at: GetDpiForWindow where the system has it
// (Windows 10 1607 on), else its monitor's (Windows 8.1 on), else the
// screen's LOGPIXELSX. A null window, or one not made yet, gets the screen's.
int DpiOf(HWND window);
// Non-zero when DpiOf asks the system for a window's own DPI rather than
// the screen's.
int WindowDpiIsAsked();
// length, given at 96 DPI, at dpi; rounded as MulDiv rounds.
int ScaleLength(int length, int dpi);
// ScaleLength(length, DpiOf(window)).
int ScaleToWindow(HWND window, int length);
// GetSystemMetricsForDpi where the system has it, else GetSystemMetrics,
// which answers for the screen's DPI.
int SystemMetricForDpi(int index, int dpi);

// An icon or cursor resource of instance (null: the system's) at the size
// that dpi asks for. *owned tells whether the caller must destroy it: the
// size of the screen's own DPI comes from the shared cache, as LoadIconA
// and LoadCursorA have it.
HICON LoadIconForDpi(HINSTANCE instance, const char* name, int dpi, int* owned);
// The same at the size of a caption's small icon.
HICON LoadSmallIconForDpi(HINSTANCE instance, const char* name, int dpi, int* owned);
HCURSOR LoadCursorForDpi(HINSTANCE instance, const char* name, int dpi, int* owned);

// A stock font (SYSTEM_FONT, SYSTEM_FIXED_FONT) at dpi: the stock font
// itself at 96 DPI on a 96-DPI screen; otherwise one of the same look made
// for dpi (the stock fonts are made once, for the screen's DPI, and do not
// follow a window to another monitor), which the caller deletes. *owned
// tells which.
HFONT StockFontForDpi(int stockFont, int dpi, int* owned);
// Deletes *font when *owned, and clears both.
void ReleaseFont(HFONT* font, int* owned);

// The suggested window rectangle of WM_DPICHANGED, taken as it comes.
void TakeSuggestedRect(HWND window, LPARAM suggested);
