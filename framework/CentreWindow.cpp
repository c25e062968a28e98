#include "CentreWindow.h"

// Start of a window of size extent centred in [low, high], kept inside the
// area's far edge and never below 0.
static int CentredStart(int low, int high, int extent)
{
    int start = low + ((high - low + 1) / 2 - extent / 2);
    int kept = start < high - extent ? start : high - extent;
    return kept > 0 ? kept : 0;
}

void CentreWindow(HWND window)
{
    RECT area;
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner != NULL) {
        GetWindowRect(owner, &area);
    } else {
        area.left = 0;
        area.top = 0;
        area.right = GetSystemMetrics(SM_CXFULLSCREEN);
        area.bottom = GetSystemMetrics(SM_CYFULLSCREEN);
    }
    RECT own;
    GetWindowRect(window, &own);
    int width = own.right - own.left + 1;
    int height = own.bottom - own.top + 1;
    MoveWindow(window, CentredStart(area.left, area.right, width),
               CentredStart(area.top, area.bottom, height), width, height, FALSE);
}
