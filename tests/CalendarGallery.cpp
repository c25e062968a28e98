// Shows the calendar for a few seconds, then ends by itself: something to take
// a screenshot of. The control gets the pixel size and place that the
// reminder dialog's 114 x 94 dialog units at 16, 10 come to with the dialog
// font on Windows at 96 dpi; a dialog template would size it by whatever font
// stands in for that one under Wine. December 2007 starts on a Saturday and
// fills all six rows.
#include "controls/CalendarControl.h"
#include "framework/DpiScale.h"
#include "framework/WindowObject.h"
#include "support/Gallery.h"

#include <windows.h>

static CalendarControl calendar(1019);

static LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    RegisterControlClasses();

    WNDCLASSA description = {};
    description.lpfnWndProc = GalleryProc;
    description.hInstance = instance;
    description.hCursor = LoadCursorA(NULL, IDC_ARROW);
    description.hbrBackground = GetSysColorBrush(COLOR_BTNFACE); // as a dialog's
    description.lpszClassName = "CalendarGallery";
    RegisterClassA(&description);

    // At another DPI the control is as much larger as the dialog would be.
    int dpi = DpiOf(NULL);
    RECT frame = {0, 0, ScaleLength(219, dpi), ScaleLength(185, dpi)};
    AdjustWindowRect(&frame, WS_CAPTION | WS_SYSMENU, FALSE);
    HWND window = CreateWindowExA(0, "CalendarGallery", "Calendar", WS_CAPTION | WS_SYSMENU, 20,
                                  20, frame.right - frame.left, frame.bottom - frame.top, NULL,
                                  NULL, instance, NULL);
    CreateWindowExA(0, "CalendarClass", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, ScaleLength(24, dpi),
                    ScaleLength(16, dpi), ScaleLength(171, dpi), ScaleLength(153, dpi),
                    window, (HMENU)1019, instance, NULL);

    DateRecord shown = {};
    shown.year = 2007;
    shown.month = 12;
    shown.day = 25;
    calendar.SetDate(shown);
    ShowWindow(window, SW_SHOW);
    gallery::EndAfter(8);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
