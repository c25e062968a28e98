#include "StatusBar.h"

#include "DpiScale.h"

#include <commctrl.h>

StatusBar::StatusBar()
    : parent(NULL), partCount(0), partWidths(NULL), partTypes(NULL), partEdges(NULL),
      partsDefined(0), font(NULL)
{
}

StatusBar::~StatusBar()
{
    ReleaseParts();
    if (font != NULL)
        DeleteObject(font);
}

void StatusBar::ReleaseParts()
{
    if (partTypes != NULL)
        GlobalFree(partTypes);
    if (partWidths != NULL)
        GlobalFree(partWidths);
    if (partEdges != NULL)
        GlobalFree(partEdges);
    partTypes = partWidths = partEdges = NULL;
    partCount = 0;
    partsDefined = 0;
}

static int* AllocateParts(int n)
{
    return static_cast<int*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(n) * sizeof(int)));
}

int StatusBar::SetPartCount(int n)
{
    ReleaseParts();
    if (n <= 0)
        return 0;
    partTypes = AllocateParts(n);
    partWidths = AllocateParts(n);
    partEdges = AllocateParts(n);
    // Every later step indexes all three arrays up to partCount, so a bar that
    // lacks any of them is left with no parts at all.
    if (partTypes == NULL || partWidths == NULL || partEdges == NULL) {
        ReleaseParts();
        return 0;
    }
    partCount = n;
    return 1;
}

void StatusBar::AddPart(int widthInChars, int drawingType)
{
    if (partsDefined >= partCount)
        return;
    partWidths[partsDefined] = widthInChars;
    partTypes[partsDefined] = drawingType;
    ++partsDefined;
}

int StatusBar::CreateStatus(HWND parentWindow)
{
    parent = parentWindow;
    TakeControlId(0);
    // Deliberately not bound to this object: its notifications then reach the
    // main window's own OnNotify, which ignores them.
    window = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, NULL, parent, (UINT)controlId);
    if (window == NULL)
        return 0;
    if (partCount > 0)
        SendMessageA(window, SB_SETPARTS, (WPARAM)partCount, (LPARAM)partEdges);
    // An empty text per part fixes its drawing type before any text is shown.
    for (int i = 0; i < partCount; ++i)
        SendMessageA(window, SB_SETTEXTA, (WPARAM)(partTypes[i] | i), 0);
    return 1;
}

int StatusBar::StatusHeight()
{
    if (!IsWindowVisible(window))
        return 0;
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

void StatusBar::ResizeParts(WPARAM wParam, LPARAM lParam)
{
    // The status window moves itself to the bottom of its parent on WM_SIZE.
    SendMessageA(window, WM_SIZE, wParam, lParam);
    if (partCount <= 0)
        return;
    RECT r;
    GetWindowRect(window, &r);

    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    if (font == NULL)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    HDC dc = GetDC(parent);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics))
        metrics.tmAveCharWidth = 0;
    SelectObject(dc, previous);
    ReleaseDC(parent, dc);
    int a = metrics.tmAveCharWidth;

    // Laid out from the right: every part but the first is exactly its own
    // width, so the first takes what the window's width leaves and its own
    // width value is never read.
    int n = partCount;
    partEdges[n - 1] = (r.right - r.left) - n * a;
    for (int i = n - 1; i >= 1; --i)
        partEdges[i - 1] = partEdges[i] - partWidths[i] * a;
    SendMessageA(window, SB_SETPARTS, (WPARAM)n, (LPARAM)partEdges);
}

void StatusBar::SetPartText(int index, const char* text)
{
    if (index < 0 || index >= partCount)
        return;
    SendMessageA(window, SB_SETTEXTA, (WPARAM)(partTypes[index] | index), (LPARAM)text);
}

void StatusBar::FollowDpi(int dpi)
{
    HFONT made = NULL;
    int screen = DpiOf(NULL);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    // The system's status font is given for the screen's DPI.
    if (dpi != screen && SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, screen);
        metrics.lfStatusFont.lfWidth = MulDiv(metrics.lfStatusFont.lfWidth, dpi, screen);
        made = CreateFontIndirectA(&metrics.lfStatusFont);
    }
    // The window measures its height anew from the font it is given.
    SendMessageA(window, WM_SETFONT, (WPARAM)made, TRUE);
    if (font != NULL)
        DeleteObject(font);
    font = made;
}
