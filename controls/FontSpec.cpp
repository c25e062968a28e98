#include "FontSpec.h"

#include "../core/BoundedString.h"

#include <string.h>

FontSpec::FontSpec() : handle(NULL), textColour(0)
{
    memset(&description, 0, sizeof description);
}

int FontSpec::Create(HDC dc, const char* faceName, int points)
{
    return CreateForDpi(GetDeviceCaps(dc, LOGPIXELSY), faceName, points);
}

int FontSpec::CreateForDpi(int dpi, const char* faceName, int points)
{
    if (faceName != NULL && faceName[0] != '\0')
        CopyText(description.lfFaceName, sizeof description.lfFaceName, faceName);
    // Negative: the size of the characters themselves, not of the cell.
    description.lfHeight = -MulDiv(points, dpi, 72);
    handle = CreateFontIndirectA(&description);
    return handle != NULL;
}

HFONT FontSpec::Select(HDC dc)
{
    SetTextColor(dc, textColour);
    return static_cast<HFONT>(SelectObject(dc, handle));
}

void FontSpec::Release()
{
    if (handle != NULL) {
        DeleteObject(handle);
        handle = NULL;
    }
}
