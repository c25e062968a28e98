#include "SunkenFrame.h"

// The system colours are looked up when the frame is drawn: frames are built
// with long-lived objects, before anything may touch the window system.
SunkenFrame::SunkenFrame()
    : highlight(kSystemColour), shadow(kSystemColour), x(0), y(0), width(-1), height(0)
{
}

void SunkenFrame::Place(const RECT& area)
{
    x = area.left;
    y = area.top;
    width = area.right - area.left + 1;
    height = area.bottom - area.top + 1;
}

void SunkenFrame::Draw(HDC dc) const
{
    if (width < 0)
        return;
    HPEN dark = CreatePen(PS_SOLID, 1, shadow == kSystemColour ? GetSysColor(COLOR_BTNSHADOW) : shadow);
    HPEN light = CreatePen(PS_SOLID, 1,
                           highlight == kSystemColour ? GetSysColor(COLOR_BTNHIGHLIGHT) : highlight);
    // Without both pens nothing is drawn, so neither can be left selected.
    if (dark != NULL && light != NULL) {
        int right = x + width - 1;
        int bottom = y + height - 1;
        HGDIOBJ previous = SelectObject(dc, dark);
        MoveToEx(dc, x, bottom, NULL);
        LineTo(dc, x, y);
        LineTo(dc, right, y);
        SelectObject(dc, light);
        LineTo(dc, right, bottom);
        LineTo(dc, x, bottom);
        SelectObject(dc, previous);
    }
    if (dark != NULL)
        DeleteObject(dark);
    if (light != NULL)
        DeleteObject(light);
}
