#include "DpiScale.h"

#include "SystemCall.h"

// The calls are found at run time: Windows 7 and 8 lack them, and a
// program that named them would not start there.
namespace {

typedef UINT(WINAPI* DpiForWindowCall)(HWND);
typedef HRESULT(WINAPI* DpiForMonitorCall)(HMONITOR, int, UINT*, UINT*);
typedef int(WINAPI* MetricForDpiCall)(int, UINT);

const int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

SystemCall<DpiForWindowCall> dpiForWindow("user32.dll", "GetDpiForWindow");
SystemCall<DpiForMonitorCall> dpiForMonitor("shcore.dll", "GetDpiForMonitor");
SystemCall<MetricForDpiCall> metricForDpi("user32.dll", "GetSystemMetricsForDpi");

int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = screen != NULL ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != NULL)
        ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

// Windows 8.1 and the first Windows 10 scale per monitor without
// GetDpiForWindow: there the window's monitor tells.
int MonitorDpi(HWND window)
{
    DpiForMonitorCall call = dpiForMonitor.Get();
    if (call == NULL)
        return 0;
    UINT x = 0, y = 0;
    if (call(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y) != S_OK)
        return 0;
    return (int)x;
}

HANDLE LoadForDpi(HINSTANCE instance, const char* name, UINT type, int widthMetric,
                  int heightMetric, int dpi, int* owned)
{
    int width = SystemMetricForDpi(widthMetric, dpi);
    int height = SystemMetricForDpi(heightMetric, dpi);
    // The shared cache hands out the first size it loaded, whatever size is
    // asked: only the screen's own size may come from it.
    int shared = width == GetSystemMetrics(widthMetric) && height == GetSystemMetrics(heightMetric);
    *owned = 0;
    if (instance == NULL) {
        // The system's own images load only shared; another size is copied
        // from the same resource.
        HANDLE system = LoadImageA(NULL, name, type, 0, 0, LR_SHARED | LR_DEFAULTSIZE);
        if (system == NULL || shared)
            return system;
        HANDLE sized = CopyImage(system, type, width, height, LR_COPYFROMRESOURCE);
        if (sized == NULL)
            return system;
        *owned = 1;
        return sized;
    }
    HANDLE image = LoadImageA(instance, name, type, width, height, shared ? LR_SHARED : 0);
    *owned = image != NULL && !shared;
    return image;
}

} // namespace

int DpiOf(HWND window)
{
    if (window != NULL) {
        DpiForWindowCall call = dpiForWindow.Get();
        int dpi = call != NULL ? (int)call(window) : MonitorDpi(window);
        if (dpi > 0)
            return dpi;
    }
    return ScreenDpi();
}

int WindowDpiIsAsked() { return dpiForWindow.Get() != NULL || dpiForMonitor.Get() != NULL; }

int ScaleLength(int length, int dpi)
{
    return dpi == kBaseDpi ? length : MulDiv(length, dpi, kBaseDpi);
}

int ScaleToWindow(HWND window, int length) { return ScaleLength(length, DpiOf(window)); }

int SystemMetricForDpi(int index, int dpi)
{
    MetricForDpiCall call = metricForDpi.Get();
    if (call != NULL)
        return call(index, (UINT)dpi);
    return GetSystemMetrics(index);
}

HICON LoadIconForDpi(HINSTANCE instance, const char* name, int dpi, int* owned)
{
    return static_cast<HICON>(LoadForDpi(instance, name, IMAGE_ICON, SM_CXICON, SM_CYICON, dpi, owned));
}

HICON LoadSmallIconForDpi(HINSTANCE instance, const char* name, int dpi, int* owned)
{
    return static_cast<HICON>(
        LoadForDpi(instance, name, IMAGE_ICON, SM_CXSMICON, SM_CYSMICON, dpi, owned));
}

HCURSOR LoadCursorForDpi(HINSTANCE instance, const char* name, int dpi, int* owned)
{
    return static_cast<HCURSOR>(
        LoadForDpi(instance, name, IMAGE_CURSOR, SM_CXCURSOR, SM_CYCURSOR, dpi, owned));
}

HFONT StockFontForDpi(int stockFont, int dpi, int* owned)
{
    HFONT stock = static_cast<HFONT>(GetStockObject(stockFont));
    *owned = 0;
    int screen = ScreenDpi();
    if (dpi == kBaseDpi && screen == kBaseDpi)
        return stock;
    LOGFONTA look;
    if (GetObjectA(stock, sizeof look, &look) != (int)sizeof look)
        return stock;
    // Brought back from the screen's DPI to 96 and from there to the window's.
    look.lfHeight = MulDiv(MulDiv(look.lfHeight, kBaseDpi, screen), dpi, kBaseDpi);
    look.lfWidth = MulDiv(MulDiv(look.lfWidth, kBaseDpi, screen), dpi, kBaseDpi);
    HFONT made = CreateFontIndirectA(&look);
    if (made == NULL)
        return stock;
    *owned = 1;
    return made;
}

void ReleaseFont(HFONT* font, int* owned)
{
    if (*font != NULL && *owned)
        DeleteObject(*font);
    *font = NULL;
    *owned = 0;
}

void TakeSuggestedRect(HWND window, LPARAM suggested)
{
    const RECT* r = reinterpret_cast<const RECT*>(suggested);
    if (r != NULL)
        SetWindowPos(window, NULL, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}
