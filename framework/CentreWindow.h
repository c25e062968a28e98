#pragma once

#include <windows.h>

// Centres window over its owner's window rectangle (the screen without an
// owner), never above or left of 0. The window grows by one pixel each way:
// its size is counted with both edges.
void CentreWindow(HWND window);
