// A rectangle outline, dark at the top and left and light at the bottom and
// right, so that the area inside looks pressed into the surface.
#pragma once

#include <windows.h>

// A colour that stands for the system's button colour of the edge.
const COLORREF kSystemColour = CLR_INVALID;

class SunkenFrame {
public:
    // The system's button colours (kSystemColour); not placed yet.
    SunkenFrame();

    // Puts the outline on area's edges, both edges included.
    void Place(const RECT& area);
    // Draws the outline; a frame that was never placed draws nothing.
    void Draw(HDC dc) const;

    COLORREF highlight;
    COLORREF shadow;
    int x;
    int y;
    int width; // -1 until placed
    int height;
};
