// A font described in full, created on demand for a device context, with the
// colour its text is drawn in.
#pragma once

#include <windows.h>

class FontSpec {
public:
    FontSpec();

    // Creates the font for dc at the given point size; an empty face name
    // keeps the one already described. The holder sets the other fields of
    // description (weight, underline) beforehand. Non-zero when created.
    int Create(HDC dc, const char* faceName, int points);
    // The same for a window drawn at dpi, whatever DPI the device context
    // reports (under per-monitor scaling it reports the screen's).
    int CreateForDpi(int dpi, const char* faceName, int points);
    // Selects the font and its text colour into dc; returns the font it replaced.
    HFONT Select(HDC dc);
    // Deletes the font, if one was created.
    void Release();

    HFONT handle;
    COLORREF textColour;
    LOGFONTA description;
};
