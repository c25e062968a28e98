#include "../core/Application.h"
#include "../resources/resource.h"

void Application::PreRegisterClass(WNDCLASSA& windowClass)
{
    // Without its own icon the window keeps the system's application icon.
    HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_TARVENDEL));
    if (icon != NULL)
        windowClass.hIcon = icon;
}

void Application::PreCreateWindow(CREATESTRUCTA& create)
{
    create.lpszName = "Tarvendel";
    create.cx = 620;
    create.cy = 256;
}
