#include "CustomControl.h"

#include "../framework/DpiScale.h"

ControlRegistry::Node* ControlRegistry::first;

int ControlRegistry::Add(int controlId, CustomControl* object)
{
    Node* node = static_cast<Node*>(GlobalAlloc(GPTR, sizeof(Node)));
    if (node == NULL)
        return 0;
    node->controlId = controlId;
    node->object = object;
    node->next = first;
    first = node;
    return 1;
}

void ControlRegistry::Remove(CustomControl* object)
{
    for (Node** link = &first; *link != NULL; link = &(*link)->next) {
        if ((*link)->object == object) {
            Node* node = *link;
            *link = node->next;
            GlobalFree(node);
            return;
        }
    }
}

CustomControl* ControlRegistry::Find(int controlId)
{
    for (Node* node = first; node != NULL; node = node->next) {
        if (node->controlId == controlId)
            return node->object;
    }
    return NULL;
}

ControlRegistry::Node* ControlRegistry::First() { return first; }

// Without a node (no memory at start-up) the object is simply never found:
// its windows then behave as plain windows instead of reaching it.
CustomControl::CustomControl(int id) : window(NULL), controlId(id), notifyHeader()
{
    ControlRegistry::Add(id, this);
}

CustomControl::~CustomControl() { ControlRegistry::Remove(this); }

void CustomControl::OnLButtonUp(int) {}
void CustomControl::OnSetCursor() {}
void CustomControl::OnCommand(WPARAM, LPARAM) {}
void CustomControl::OnCreate(HWND) {}
void CustomControl::OnDestroy() {}
void CustomControl::OnDrawItem(WPARAM, LPARAM) {}
void CustomControl::OnLButtonDown(WPARAM, LPARAM) {}
void CustomControl::Reserved(WPARAM, LPARAM) {}
void CustomControl::OnPaint() {}
void CustomControl::OnSetFocus(HWND) {}
void CustomControl::OnSize(WPARAM, LPARAM) {}
LRESULT CustomControl::OnGetDlgCode(const MSG*) { return 0; }
int CustomControl::OnKeyDown(WPARAM) { return 0; }
void CustomControl::OnKillFocus() {}
void CustomControl::OnDpiChanged() {}
void CustomControl::OnUiStateChanged(WPARAM) {}

void CustomControl::NotifyParent(UINT code)
{
    notifyHeader.hwndFrom = window;
    notifyHeader.idFrom = (UINT_PTR)GetDlgCtrlID(window);
    notifyHeader.code = code;
    SendMessageA(GetParent(window), WM_NOTIFY, (WPARAM)notifyHeader.idFrom,
                 reinterpret_cast<LPARAM>(&notifyHeader));
}

// The object is looked up on every message rather than bound to the window,
// because the dialog manager creates the window and no creation parameter
// reaches it; the control id is known from the first message on.
LRESULT CALLBACK CustomControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CustomControl* object = ControlRegistry::Find(GetDlgCtrlID(window));
    if (object == NULL)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: object->OnCreate(window); return 0;
    case WM_DESTROY: object->OnDestroy(); return 0;
    case WM_SIZE: object->OnSize(wParam, lParam); return 0;
    case WM_SETFOCUS: object->OnSetFocus((HWND)wParam); return 0;
    case WM_PAINT: object->OnPaint(); return 0;
    case WM_SETCURSOR: object->OnSetCursor(); return 0;
    case WM_DRAWITEM: object->OnDrawItem(wParam, lParam); return 0;
    case WM_COMMAND: object->OnCommand(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: object->OnLButtonDown(wParam, lParam); return 0;
    case WM_LBUTTONUP: object->OnLButtonUp(GetDlgCtrlID(window)); return 0;
    case WM_GETDLGCODE: return object->OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (object->OnKeyDown(wParam))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_KILLFOCUS: object->OnKillFocus(); return 0;
    case kDpiChangedAfterParent: object->OnDpiChanged(); return 0;
    case WM_UPDATEUISTATE: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        object->OnUiStateChanged(wParam);
        return result;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

int RegisterControlClasses()
{
    int all = 1;
    for (ControlRegistry::Node* node = ControlRegistry::First(); node != NULL; node = node->next) {
        if (!node->object->RegisterWindowClass())
            all = 0;
    }
    return all;
}
