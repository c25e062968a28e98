#include "../core/Application.h"
#include "../framework/DpiScale.h"
#include "../resources/resource.h"

void Application::PreRegisterClass(WNDCLASSA& windowClass)
{
    // Without its own icon the window keeps the system's application icon.
    HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_TARVENDEL));
    if (icon != NULL)
        windowClass.hIcon = icon;
}

static void ReplaceIcon(HWND window, WPARAM which, HICON* icon, int* owned, HICON fresh,
                        int freshOwned)
{
    if (fresh == NULL)
        return;
    SendMessageA(window, WM_SETICON, which, (LPARAM)fresh);
    if (*icon != NULL && *owned)
        DestroyIcon(*icon);
    *icon = fresh;
    *owned = freshOwned;
}

void Application::SetWindowIcons()
{
    if (bigIcon == NULL && dpi == kBaseDpi && DpiOf(NULL) == kBaseDpi)
        return;
    const char* name = MAKEINTRESOURCEA(IDI_TARVENDEL);
    int owned = 0;
    HICON big = LoadIconForDpi(instanceHandle, name, dpi, &owned);
    ReplaceIcon(window, ICON_BIG, &bigIcon, &bigIconOwned, big, owned);
    HICON smallOne = LoadSmallIconForDpi(instanceHandle, name, dpi, &owned);
    ReplaceIcon(window, ICON_SMALL, &smallIcon, &smallIconOwned, smallOne, owned);
}

void Application::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    MainWindow::OnDpiChanged(wParam, lParam);
    SetWindowIcons();
}

void Application::PreCreateWindow(CREATESTRUCTA& create)
{
    create.lpszName = "Tarvendel";
    // Not made yet, the window will open on the screen's DPI.
    create.cx = ScaleLength(620, DpiOf(NULL));
    create.cy = ScaleLength(256, DpiOf(NULL));
}
