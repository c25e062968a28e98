#include "ControlObject.h"

#include "WindowObject.h"

int nextControlId = 900;
WNDPROC standardButtonProc;

ControlObject::ControlObject()
    : window(NULL), windowStyle(0), exStyle(0), controlId(0), hintText(NULL),
      handlerContext(NULL), handler(NULL)
{
}

int ControlObject::Create(HWND, int, const char*, int, int, int, int) { return MissingCreate(); }
int ControlObject::OnCommandNotify(int, int) { return 0; }
void ControlObject::Unused(int) {}
LRESULT ControlObject::OnNotify(NMHDR*) { return 0; }
LRESULT ControlObject::OnMessage(UINT, WPARAM, LPARAM) { return 0; }

void ControlObject::SetHandler(ControlObject* context, ControlHandler newHandler)
{
    handlerContext = context;
    handler = newHandler;
}

void ControlObject::TakeControlId(int id)
{
    controlId = id != 0 ? id : nextControlId++;
}

int ControlObject::CreateOrAttach(const char* className, HWND parent, const char* text, int x,
                                  int y, int width, int height)
{
    window = GetDlgItem(parent, controlId);
    if (window == NULL) {
        window = CreateWindowExA(exStyle, className, text, windowStyle, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                 instanceHandle, NULL);
    }
    if (window == NULL)
        return 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return 1;
}

char MnemonicOf(const char* text)
{
    if (text == NULL)
        return 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '&')
            return p[1];
    }
    return 0;
}

ButtonControl::ButtonControl(int subclass) : subclassFlag(subclass), mnemonic(0)
{
    windowStyle = WS_CHILD | WS_VISIBLE;
}

int ButtonControl::Create(HWND parent, int id, const char* text, int x, int y, int width,
                          int height)
{
    TakeControlId(id);
    mnemonic = MnemonicOf(text);
    int created = CreateOrAttach("BUTTON", parent, text, x, y, width, height);
    if (created && subclassFlag)
        Subclass(NULL);
    return created;
}

int ButtonControl::OnCommandNotify(int code, int id)
{
    if (code != BN_CLICKED || handler == NULL)
        return 0;
    (handlerContext->*handler)(id);
    return 1;
}

WNDPROC ButtonControl::Subclass(WNDPROC procedure)
{
    if (procedure == NULL)
        procedure = ControlSubclassProc;
    WNDPROC previous = NULL;
    if (IsWindow(window))
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (standardButtonProc == NULL)
        standardButtonProc = previous;
    return previous;
}

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlObject* object =
        reinterpret_cast<ControlObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return object->OnMessage(message, wParam, lParam);
}

ListBoxControl::ListBoxControl() : selection(0)
{
    windowStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_DISABLENOSCROLL |
                  LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
}

int ListBoxControl::Create(HWND parent, int id, const char* text, int x, int y, int width,
                           int height)
{
    TakeControlId(id);
    return CreateOrAttach("LISTBOX", parent, text, x, y, width, height);
}

int ListBoxControl::OnCommandNotify(int code, int id)
{
    if (code != LBN_SELCHANGE)
        return 0;
    selection = (int)SendMessageA(window, LB_GETCURSEL, 0, 0);
    if (handler == NULL)
        return 0;
    (handlerContext->*handler)(id);
    return 1;
}

// The list box class's own procedure, remembered when a list is first subclassed.
static WNDPROC standardListProc;

int ListBoxControl::ReportKeys()
{
    // A list that asks by itself must not ask twice.
    if (!IsWindow(window) || (GetWindowLongA(window, GWL_STYLE) & LBS_WANTKEYBOARDINPUT))
        return 0;
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (previous == ControlSubclassProc)
        return 1;
    standardListProc = previous;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc));
    return 1;
}

LRESULT ListBoxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) {
        WPARAM caret = (WPARAM)SendMessageA(window, LB_GETCARETINDEX, 0, 0);
        LRESULT answer = SendMessageA(GetParent(window), WM_VKEYTOITEM,
                                      MAKEWPARAM(LOWORD(wParam), LOWORD(caret)), (LPARAM)window);
        if (answer == -2)
            return 0;
    }
    return CallWindowProcA(standardListProc, window, message, wParam, lParam);
}

ComboControl::ComboControl() : selection(0), shiftTabTarget(NULL), subclassed(NULL) {}

static WNDPROC standardComboProc;

int ComboControl::TabBackTo(HWND target)
{
    if (!IsWindow(window))
        return 0;
    shiftTabTarget = target;
    subclassed = window;
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (previous == ControlSubclassProc)
        return 1;
    standardComboProc = previous;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc));
    return 1;
}

static int IsShiftTab(const MSG* message)
{
    return message != NULL && message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
           GetKeyState(VK_SHIFT) < 0;
}

LRESULT ComboControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND list = subclassed;
    if (message == WM_NCDESTROY)
        subclassed = NULL;
    if (shiftTabTarget != NULL && message == WM_GETDLGCODE &&
        IsShiftTab(reinterpret_cast<const MSG*>(lParam)))
        return CallWindowProcA(standardComboProc, list, message, wParam, lParam) | DLGC_WANTTAB;
    if (shiftTabTarget != NULL && message == WM_KEYDOWN && wParam == VK_TAB &&
        GetKeyState(VK_SHIFT) < 0) {
        SetFocus(shiftTabTarget);
        return 0;
    }
    if (message == WM_CHAR && wParam == '\t')
        return 0; // what is left of a Tab that moved the focus
    return CallWindowProcA(standardComboProc, list, message, wParam, lParam);
}

int ComboControl::Create(HWND parent, int id, const char* text, int x, int y, int width,
                         int height)
{
    TakeControlId(id);
    return CreateOrAttach("COMBOBOX", parent, text, x, y, width, height);
}

int ComboControl::OnCommandNotify(int code, int id)
{
    if (code != CBN_SELCHANGE)
        return 0;
    selection = (int)SendMessageA(window, CB_GETCURSEL, 0, 0);
    if (handler == NULL)
        return 0;
    (handlerContext->*handler)(id);
    return 1;
}
