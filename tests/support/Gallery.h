// The gallery programs each show one of the program's windows for
// scripts/screenshots.sh and end by themselves.
#pragma once

#include <windows.h>

#include <stdlib.h>
#include <string.h>

namespace gallery {

inline DWORD limitMs = 8000;

// With TARVENDEL_SHOT_READY naming a file, that file is made once the window
// TARVENDEL_SHOT_WINDOW names ("class" or "class:title") is shown and painted,
// and the gallery ends when the script has taken its picture and removed it.
inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    static DWORD started = GetTickCount();
    static int shownTicks;
    const char* ready = getenv("TARVENDEL_SHOT_READY");
    const char* name = getenv("TARVENDEL_SHOT_WINDOW");
    if (GetTickCount() - started > (ready != NULL ? 60000 : limitMs))
        ExitProcess(0);
    char wanted[128] = "";
    strncpy(wanted, name != NULL ? name : "", sizeof wanted - 1);
    char* title = strchr(wanted, ':');
    if (title != NULL)
        *title++ = '\0';
    HWND window = ready != NULL ? FindWindowA(wanted[0] ? wanted : NULL, title) : NULL;
    if (shownTicks == 0 && window != NULL && IsWindowVisible(window))
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    else if (shownTicks == 0)
        return;
    // A few ticks more for the display to show what was painted.
    if (++shownTicks == 3)
        CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    else if (shownTicks > 3 && GetFileAttributesA(ready) == INVALID_FILE_ATTRIBUTES)
        ExitProcess(0);
}

// Ends the gallery after seconds, or as the screenshot script asks.
inline void EndAfter(int seconds)
{
    limitMs = (DWORD)seconds * 1000;
    SetTimer(NULL, 0, 200, Tick);
}

} // namespace gallery
