#include "CentreWindow.h"

// Start of a window of size extent centred in [low, high], kept inside the
// area's far edge.
static int CentredStart(int low, int high, int extent)
{
    int start = low + ((high - low + 1) / 2 - extent / 2);
    return start < high - extent ? start : high - extent;
}

// start moved so that [start, start + extent) lies in [low, high) where it
// fits; a window larger than the area keeps its near edge in view.
static int KeptInside(int start, int low, int high, int extent)
{
    if (start > high - extent)
        start = high - extent;
    return start > low ? start : low;
}

void CentreWindow(HWND window)
{
    RECT area;
    HWND owner = GetWindow(window, GW_OWNER);
    HMONITOR monitor;
    if (owner != NULL) {
        GetWindowRect(owner, &area);
        monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    } else {
        area.left = 0;
        area.top = 0;
        area.right = GetSystemMetrics(SM_CXFULLSCREEN);
        area.bottom = GetSystemMetrics(SM_CYFULLSCREEN);
        POINT origin = {0, 0};
        monitor = MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    }
    // A box must open where it can be read and answered: on the monitor
    // that holds the most of its owner, clear of the taskbar, even when the
    // owner hangs past an edge or sits on a monitor left of or above the
    // primary one (negative coordinates).
    MONITORINFO info;
    info.cbSize = sizeof info;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (monitor != NULL && GetMonitorInfoA(monitor, &info))
        work = info.rcWork;

    RECT own;
    GetWindowRect(window, &own);
    int width = own.right - own.left + 1;
    int height = own.bottom - own.top + 1;
    int left = KeptInside(CentredStart(area.left, area.right, width), work.left, work.right, width);
    int top = KeptInside(CentredStart(area.top, area.bottom, height), work.top, work.bottom, height);
    MoveWindow(window, left, top, width, height, FALSE);
}
