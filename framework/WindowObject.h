// Base of every window object: the object outlives its window, which is
// created and destroyed under it.
#pragma once

#include <windows.h>

class WindowObject {
public:
    WindowObject() : window(NULL) {}
    virtual ~WindowObject() {}

    // Runs on WM_DESTROY while the handle is still valid, and when Windows
    // ends the session; the result is not used by the framework.
    virtual int SaveState() { return 0; }

    HWND window;
};
