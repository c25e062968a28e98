#include "WindowObject.h"

#include "ControlObject.h"
#include "DpiScale.h"

HINSTANCE instanceHandle;

WindowObject::WindowObject() : window(NULL), windowStyle(0), exStyle(0) {}

int MissingCreate()
{
    MessageBoxA(NULL, "Missing Create", "App Error", MB_ICONWARNING);
    return 0;
}

int WindowObject::Create(HWND, int, const char*, int, int, int, int) { return MissingCreate(); }
void WindowObject::PreRegisterClass(WNDCLASSA&) {}
void WindowObject::PreCreateWindow(CREATESTRUCTA&) {}
void WindowObject::OnAfterDestroy() {}
int WindowObject::OnMessage(UINT, WPARAM, LPARAM) { return 0; }
int WindowObject::RegisterWindowClass() { return 0; }
int WindowObject::SaveState() { return 0; }

void WindowObject::OnChar(WPARAM, LPARAM) {}
void WindowObject::OnClose() { Destroy(); }
void WindowObject::OnCommand(WPARAM, LPARAM) {}
void WindowObject::OnContextMenu(WPARAM, LPARAM) {}
int WindowObject::OnCreate() { return 0; }
LRESULT WindowObject::OnCtlColorListBox(WPARAM, LPARAM) { return 0; }
void WindowObject::OnDestroy() {}
void WindowObject::OnDpiChanged(WPARAM, LPARAM lParam) { TakeSuggestedRect(window, lParam); }
void WindowObject::OnDrawItem(WPARAM, LPARAM) {}
void WindowObject::OnDropFiles(WPARAM) {}
void WindowObject::OnEndSession(WPARAM, LPARAM) {}
void WindowObject::OnInitMenu() {}
void WindowObject::OnKeyDown(WPARAM, LPARAM) {}
void WindowObject::OnKeyUp(WPARAM, LPARAM) {}
void WindowObject::OnKillFocus() {}
void WindowObject::OnLButtonDblClk(WPARAM, LPARAM) {}
void WindowObject::OnLButtonDown(WPARAM, LPARAM) {}
void WindowObject::OnLButtonUp(WPARAM, LPARAM) {}
int WindowObject::OnMenuSelect(WPARAM, LPARAM) { return 0; }
void WindowObject::OnMouseMove(WPARAM, LPARAM) {}
void WindowObject::OnMouseWheel(WPARAM, LPARAM) {}
void WindowObject::OnNotify(WPARAM, LPARAM) {}
int WindowObject::OnQueryEndSession() { return TRUE; }
void WindowObject::OnRButtonDown(WPARAM, LPARAM) {}
void WindowObject::OnRButtonUp(WPARAM, LPARAM) {}
void WindowObject::OnSetFocus() {}
void WindowObject::OnSize(WPARAM, LPARAM) {}
void WindowObject::OnSysColorChange() {}
void WindowObject::OnSysKeyDown(WPARAM, LPARAM) {}
void WindowObject::OnSysKeyUp(WPARAM, LPARAM) {}
void WindowObject::OnTimer(WPARAM) {}
int WindowObject::OnVKeyToItem(WPARAM) { return -1; }
void WindowObject::OnVScroll(WPARAM, LPARAM) {}

void WindowObject::OnPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

LRESULT WindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR: OnChar(wParam, lParam); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_CONTEXTMENU: OnContextMenu(wParam, lParam); return 0;
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_CTLCOLORLISTBOX: return OnCtlColorListBox(wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        SaveState();
        OnAfterDestroy();
        return 0;
    case WM_DPICHANGED: OnDpiChanged(wParam, lParam); return 0;
    case WM_DRAWITEM: OnDrawItem(wParam, lParam); return TRUE;
    case WM_DROPFILES: OnDropFiles(wParam); return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam, lParam);
        if (wParam)
            SaveState();
        return 0;
    case WM_INITMENU: OnInitMenu(); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
    case WM_KEYUP: OnKeyUp(wParam, lParam); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 0;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 0;
    case WM_MENUSELECT: OnMenuSelect(wParam, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(wParam, lParam); return 0;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        ControlObject* control = header != NULL ? reinterpret_cast<ControlObject*>(
                                                      GetWindowLongPtrA(header->hwndFrom, GWLP_USERDATA))
                                                : NULL;
        if (control != NULL)
            return control->OnNotify(header);
        OnNotify(wParam, lParam);
        return 0;
    }
    case WM_PAINT: OnPaint(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 0;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 0;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_SIZE: OnSize(wParam, lParam); return 0;
    case WM_SYSCOLORCHANGE: OnSysColorChange(); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown(wParam, lParam); return 0;
    case WM_SYSKEYUP: OnSysKeyUp(wParam, lParam); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_VKEYTOITEM: return OnVKeyToItem(wParam);
    case WM_VSCROLL: OnVScroll(wParam, lParam); return 0;
    default:
        if (OnMessage(message, wParam, lParam))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The object's address lives in GWLP_USERDATA, the pointer-sized form of the
// slot, so 64-bit addresses are kept whole.
LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        WindowObject* object = static_cast<WindowObject*>(create->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        if (object != NULL)
            object->window = window;
    }
    WindowObject* object =
        reinterpret_cast<WindowObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object != NULL)
        return object->WindowProc(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

int RegisterClassOnce(int* registeredFlag, WNDCLASSA& windowClass, WindowObject* owner)
{
    if (*registeredFlag)
        return 0;
    if (owner != NULL)
        owner->PreRegisterClass(windowClass);
    if (!RegisterClassA(&windowClass))
        return 0;
    *registeredFlag = 1;
    return 1;
}

int WindowObject::CreateOwnWindow(const char* className, HWND parent, HMENU menuOrId,
                                  const char* title, int x, int y, int width, int height)
{
    if (window == NULL) {
        // Stored over the handle that WM_NCCREATE set: a creation that fails
        // in WM_CREATE leaves the object without a window.
        window = CreateWindowExA(exStyle, className, title, windowStyle, x, y, width, height, parent,
                                 menuOrId, instanceHandle, this);
    }
    return window != NULL;
}

int WindowObject::Destroy()
{
    if (!DestroyWindow(window))
        return 0;
    window = NULL;
    return 1;
}

int DialogObject::Create(HWND, int, const char*, int, int, int, int) { return MissingCreate(); }

INT_PTR CALLBACK SharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        DialogObject* object = reinterpret_cast<DialogObject*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
        object->window = dialog;
        return object->DialogProc(message, wParam, lParam);
    }
    DialogObject* object = reinterpret_cast<DialogObject*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (object == NULL)
        return FALSE;
    return object->DialogProc(message, wParam, lParam);
}
