// The gallery programs each show one of the program's windows for
// scripts/screenshots.sh and end by themselves.
#pragma once

#include <windows.h>

#include <stdlib.h>
#include <string.h>

namespace gallery {

// With TARVENDEL_SHOT_READY naming a file, the gallery makes that file once
// the window that TARVENDEL_SHOT_WINDOW names ("class" or "class:title") is
// shown and painted, and ends when the script has taken its picture and
// removed the file; otherwise it ends after the seconds it was given.
inline DWORD& LimitMs()
{
    static DWORD limit;
    return limit;
}

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    static DWORD started = GetTickCount();
    static int shownTicks;
    const char* ready = getenv("TARVENDEL_SHOT_READY");
    if (GetTickCount() - started > (ready != NULL ? 60000 : LimitMs()))
        ExitProcess(0);
    if (ready == NULL)
        return;
    if (shownTicks == 0) {
        char wanted[128] = "";
        const char* name = getenv("TARVENDEL_SHOT_WINDOW");
        strncpy(wanted, name != NULL ? name : "", sizeof wanted - 1);
        char* title = strchr(wanted, ':');
        if (title != NULL)
            *title++ = '\0';
        HWND window = FindWindowA(wanted[0] ? wanted : NULL, title);
        if (window == NULL || !IsWindowVisible(window))
            return;
        RedrawWindow(window, NULL, NULL,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        shownTicks = 1;
    } else if (shownTicks < 3) {
        // A few ticks more for the display to show what was painted.
        if (++shownTicks == 3) {
            HANDLE file = CreateFileA(ready, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            CloseHandle(file);
        }
    } else if (GetFileAttributesA(ready) == INVALID_FILE_ATTRIBUTES) {
        ExitProcess(0);
    }
}

// Ends the gallery after seconds, or as the screenshot script asks.
inline void EndAfter(int seconds)
{
    LimitMs() = (DWORD)seconds * 1000;
    SetTimer(NULL, 0, 200, Tick);
}

} // namespace gallery
