#include "ButtonBar.h"

#include "../resources/resource.h"
#include "DpiScale.h"

#include <new>

HCURSOR handCursor;

HCURSOR HandCursorFor(int dpi)
{
    static HCURSOR made;
    static int madeOwned;
    static int madeDpi;
    if (dpi == DpiOf(NULL) || instanceHandle == NULL)
        return handCursor;
    if (made == NULL || madeDpi != dpi) {
        int owned = 0;
        HCURSOR fresh =
            LoadCursorForDpi(instanceHandle, MAKEINTRESOURCEA(IDR_HAND_CURSOR), dpi, &owned);
        if (fresh == NULL)
            return handCursor;
        if (made != NULL && madeOwned)
            DestroyCursor(made);
        made = fresh;
        madeOwned = owned;
        madeDpi = dpi;
    }
    return made;
}

static int barClassRegistered;
static const char kBarClassName[] = "BtnBarClass";

LRESULT BarButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(HandCursorFor(DpiOf(window)));
        return 0;
    case WM_MOUSEMOVE:
        // The focused button is the one the user is already at; only the
        // others are worth a notice.
        if (GetFocus() != window)
            SendMessageA(GetParent(window), WM_BUTTONHOVER, (WPARAM)controlId, (LPARAM)hintText);
        return 0;
    default:
        return CallWindowProcA(standardButtonProc, window, message, wParam, lParam);
    }
}

// Runs during static construction, so the class carries the null instance.
ButtonBar::ButtonBar()
    : buttonCapacity(0), nextX(2), dpi(kBaseDpi), buttonCount(0), barHeight(0), commandIds(NULL),
      baseWidths(NULL), font(NULL), buttons(NULL), shown(1)
{
    windowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
}

ButtonBar::~ButtonBar()
{
    delete[] buttons;
    delete[] commandIds;
    delete[] baseWidths;
}

int ButtonBar::RegisterWindowClass()
{
    WNDCLASSA description = {};
    description.style = CS_BYTEALIGNWINDOW;
    description.lpfnWndProc = SharedWindowProc;
    description.cbWndExtra = 4;
    description.hInstance = instanceHandle;
    description.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    description.lpszClassName = kBarClassName;
    return RegisterClassOnce(&barClassRegistered, description, NULL);
}

LRESULT ButtonBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        // Validated whether or not the lines are drawn: an update region left
        // in place would bring WM_PAINT back without end.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (shown) {
            RECT r;
            GetClientRect(window, &r);
            HPEN frame = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
            HGDIOBJ previous = SelectObject(dc, frame);
            MoveToEx(dc, r.left, r.bottom - 1, NULL);
            LineTo(dc, r.right, r.bottom - 1);
            HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
            SelectObject(dc, highlight);
            MoveToEx(dc, r.left, r.top, NULL);
            LineTo(dc, r.right, r.top);
            SelectObject(dc, previous);
            DeleteObject(frame);
            DeleteObject(highlight);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND: {
        HWND sender = reinterpret_cast<HWND>(lParam);
        if (sender != NULL) {
            ControlObject* control =
                reinterpret_cast<ControlObject*>(GetWindowLongPtrA(sender, GWLP_USERDATA));
            if (control != NULL && control->OnCommandNotify(HIWORD(wParam), LOWORD(wParam)))
                return 0;
        }
        // The main window sees the bar as the sender, so a click and an
        // accelerator key of the same command look alike to it.
        if (HIWORD(wParam) == BN_CLICKED) {
            HWND parent = GetParent(window);
            SendMessageA(parent, WM_COMMAND, LOWORD(wParam), reinterpret_cast<LPARAM>(window));
            // A click leaves the focus on its button, where the keys do
            // nothing: unless the command put it elsewhere, it goes back to
            // the parent, which hands it on to where the keys go.
            HWND focus = GetFocus();
            if (IsWindow(parent) && focus != NULL && GetParent(focus) == window)
                SetFocus(parent);
        }
        return 0;
    }
    case WM_BUTTONHOVER:
        SendMessageA(GetParent(window), WM_BUTTONHOVER, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int ButtonBar::CreateBar(HWND parent, int x, int y, int width, int height)
{
    // Registered with the first bar, not at construction, so that a run that
    // shows no window never loads the window DLLs.
    ButtonBar::RegisterWindowClass();
    if (!CreateOwnWindow(kBarClassName, parent, NULL, "", x, y, width, height))
        return 0;
    barHeight = height;
    dpi = DpiOf(window);
    ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
    return 1;
}

void ButtonBar::Rescale(int newDpi, int height)
{
    dpi = newDpi;
    barHeight = height;
    // Each edge is scaled from its place at 96 DPI rather than summed from
    // scaled widths, so rounding never adds up along the bar.
    int x = 2;
    for (int i = 0; i < buttonCount; ++i) {
        MoveWindow(buttons[i].window, ScaleLength(x, dpi), ScaleLength(3, dpi),
                   ScaleLength(baseWidths[i], dpi), barHeight - ScaleLength(6, dpi), TRUE);
        x += baseWidths[i] + 3;
    }
}

int ButtonBar::SetButtonCount(int n)
{
    if (buttons != NULL || n <= 0)
        return 0;
    BarButton* newButtons = new (std::nothrow) BarButton[n];
    int* newIds = new (std::nothrow) int[n];
    int* newWidths = new (std::nothrow) int[n];
    // AddButton writes all three arrays, so the bar takes none without the others.
    if (newButtons == NULL || newIds == NULL || newWidths == NULL) {
        delete[] newButtons;
        delete[] newIds;
        delete[] newWidths;
        return 0;
    }
    buttons = newButtons;
    commandIds = newIds;
    baseWidths = newWidths;
    buttonCapacity = n;
    nextX = 2;
    return 1;
}

int ButtonBar::AddButton(const char* caption, int width, int commandId, int disabled,
                         const char* hint)
{
    if (buttonCount >= buttonCapacity)
        return 0;
    BarButton& button = buttons[buttonCount];
    button.subclassFlag = 1;
    button.hintText = hint;
    if (!button.Create(window, commandId, caption, ScaleLength(nextX, dpi), ScaleLength(3, dpi),
                       ScaleLength(width, dpi), barHeight - ScaleLength(6, dpi)))
        return 0;
    if (font != NULL)
        SendMessageA(button.window, WM_SETFONT, (WPARAM)font, FALSE);
    if (disabled)
        EnableWindow(button.window, FALSE);
    commandIds[buttonCount] = commandId;
    baseWidths[buttonCount] = width;
    ++buttonCount;
    nextX += width + 3;
    return 1;
}

void ButtonBar::SetFont(HFONT newFont)
{
    font = newFont;
    for (int i = 0; i < buttonCount; ++i)
        SendMessageA(buttons[i].window, WM_SETFONT, (WPARAM)font, TRUE);
}

void ButtonBar::EnableButton(int commandId, int enable)
{
    for (int i = 0; i < buttonCount; ++i) {
        if (commandIds[i] == commandId) {
            EnableWindow(buttons[i].window, enable);
            return;
        }
    }
}
