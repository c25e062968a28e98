#include "AlertWindow.h"

#include "../core/Application.h"
#include "../framework/DpiScale.h"
#include "../resources/resource.h"

namespace {

const char* const kChoiceTexts[kSnoozeChoices] = {"5 minutes", "10 minutes", "15 minutes",
                                                  "30 minutes", "1 hour", "Tomorrow"};

// Lengths at 96 DPI.
const int kMargin = 12;
const int kGap = 8;
const int kButtonHeight = 30;
const int kDismissWidth = 76;
const int kSnoozeWidth = 76;
const int kChoiceWidth = 112;
const int kOpenWidth = 120;
const int kMostRowsShown = 8;

WNDPROC choiceProcedure;

void Press(int index)
{
    SendMessageA(alertWindow.window, WM_COMMAND, LOWORD(boxButtons[index].controlId), 0);
}

// The choice sits between Snooze and Open Tarvendel in the Tab order; Enter
// on it snoozes, Esc dismisses, as on the buttons.
LRESULT CALLBACK ChoiceKeys(HWND combo, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
        switch (wParam) {
        case VK_TAB:
            MessageBoxWindow::focusIndex = 2;
            SetFocus(boxButtons[2].window);
            return 0;
        case VK_RETURN: Press(1); return 0;
        case VK_ESCAPE: Press(0); return 0;
        }
    }
    return CallWindowProcA(choiceProcedure, combo, message, wParam, lParam);
}

} // namespace

AlertWindow::AlertWindow() : list(NULL), choice(NULL), chosen(1), smallIcon(NULL), smallIconOwned(0)
{
}

int AlertWindow::ShowAlert(const char* lines, int* snoozeChoice)
{
    chosen = *snoozeChoice >= 0 && *snoozeChoice < kSnoozeChoices ? *snoozeChoice : 1;
    int answer = Show(NULL, lines, "Tarvendel", MB_DEFBUTTON1, MAKEINTRESOURCEA(IDI_TARVENDEL),
                      RGB(0, 0, 0), RGB(192, 192, 192), RGB(128, 128, 128));
    *snoozeChoice = chosen;
    return answer == 0 ? kDismiss : answer;
}

void AlertWindow::ClientSize(int* width, int* height) const
{
    int rows = lineCount < kMostRowsShown ? lineCount : kMostRowsShown;
    int listWidth = maxLineWidth + 4 * maxCharWidth;
    if (listWidth < Scaled(240))
        listWidth = Scaled(240);
    int top = Scaled(kMargin) + IconSize() + Scaled(kGap);
    int listHeight = lineHeight * (rows < 1 ? 1 : rows) + Scaled(6);
    int row = Scaled(kDismissWidth + kGap + kSnoozeWidth + kGap + kChoiceWidth + 2 * kGap +
                     kOpenWidth);
    *width = 2 * Scaled(kMargin) + (listWidth > row ? listWidth : row);
    *height = top + listHeight + Scaled(2 * kGap + kButtonHeight + kMargin);
}

int AlertWindow::CreateBoxWindow()
{
    windowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    // Its own taskbar button, to flash, though it has no owner.
    exStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW;
    int width, height;
    ClientSize(&width, &height);
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, windowStyle, FALSE, exStyle);
    list = choice = NULL;
    return CreateOwnWindow(kBoxClassName, NULL, NULL, caption, 0, 0, outer.right - outer.left,
                           outer.bottom - outer.top);
}

int AlertWindow::CreateButtons()
{
    buttonCount = 3;
    if (!MakeButton(0, "&Dismiss", kDismiss, 0, 0) || !MakeButton(1, "&Snooze", kSnooze, 0, 0) ||
        !MakeButton(2, "&Open Tarvendel", kOpen, 0, 0))
        return 0;
    list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                           0, 0, 0, 0, window, NULL, instanceHandle, NULL);
    choice = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                             0, 0, 0, 0, window, NULL, instanceHandle, NULL);
    if (list == NULL || choice == NULL)
        return 0;
    for (const char* line = text != NULL ? text : ""; *line != '\0';) {
        int length;
        const char* next = NextBoxLine(line, &length);
        char item[160];
        lstrcpynA(item, line, length + 1 < (int)sizeof item ? length + 1 : (int)sizeof item);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        line = next;
    }
    for (int i = 0; i < kSnoozeChoices; ++i)
        SendMessageA(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kChoiceTexts[i]));
    SendMessageA(choice, CB_SETCURSEL, (WPARAM)chosen, 0);
    choiceProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(choice, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChoiceKeys)));
    SetChildFonts();
    PlaceButtons();
    return 1;
}

void AlertWindow::SetChildFonts()
{
    WPARAM childFont = fontOwned ? (WPARAM)font : 0;
    SendMessageA(list, WM_SETFONT, childFont, FALSE);
    SendMessageA(choice, WM_SETFONT, childFont, FALSE);
}

void AlertWindow::PlaceButtons()
{
    RECT client;
    GetClientRect(window, &client);
    int margin = Scaled(kMargin);
    int buttonsTop = client.bottom - margin - Scaled(kButtonHeight);
    int top = margin;
    // The heading beside the icon, the list under both.
    MoveWindow(list, margin, top + IconSize() + Scaled(kGap), client.right - 2 * margin,
               buttonsTop - Scaled(2 * kGap) - (top + IconSize() + Scaled(kGap)), TRUE);
    int x = margin;
    MoveWindow(boxButtons[0].window, x, buttonsTop, Scaled(kDismissWidth), Scaled(kButtonHeight), TRUE);
    x += Scaled(kDismissWidth + kGap);
    MoveWindow(boxButtons[1].window, x, buttonsTop, Scaled(kSnoozeWidth), Scaled(kButtonHeight), TRUE);
    x += Scaled(kSnoozeWidth + kGap);
    // The closed choice as tall as the buttons' text line, centred on them.
    RECT shown;
    MoveWindow(choice, x, buttonsTop, Scaled(kChoiceWidth), lineHeight * (kSnoozeChoices + 2), TRUE);
    GetWindowRect(choice, &shown);
    int choiceHeight = shown.bottom - shown.top;
    MoveWindow(choice, x, buttonsTop + (Scaled(kButtonHeight) - choiceHeight) / 2,
               Scaled(kChoiceWidth), lineHeight * (kSnoozeChoices + 2), TRUE);
    MoveWindow(boxButtons[2].window, client.right - margin - Scaled(kOpenWidth), buttonsTop,
               Scaled(kOpenWidth), Scaled(kButtonHeight), TRUE);
}

void AlertWindow::AfterCreate()
{
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    smallIcon = LoadSmallIconForDpi(instanceHandle, MAKEINTRESOURCEA(IDI_TARVENDEL), dpi,
                                    &smallIconOwned);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    // Centred on the work area, not on an owner it does not have.
    RECT work, own;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    GetWindowRect(window, &own);
    int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(window, HWND_TOPMOST, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(window);
    MessageBeep(MB_ICONASTERISK);
    FLASHWINFO flash = {sizeof flash, window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
}

void AlertWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH background = CreateSolidBrush(backgroundColour);
    FillRect(dc, &paint.rcPaint, background);
    DeleteObject(background);
    int margin = Scaled(kMargin);
    int side = IconSize();
    if (icon != NULL)
        DrawIconEx(dc, margin, margin, icon, side, side, 0, NULL, DI_NORMAL);
    // What the list below is, beside the icon.
    HGDIOBJ previousFont = fontOwned ? SelectObject(dc, font) : NULL;
    SetTextColor(dc, textColour);
    SetBkMode(dc, TRANSPARENT);
    const char* heading = lineCount == 1 ? "This reminder is due:" : "These reminders are due:";
    TextOutA(dc, margin + side + Scaled(kGap), margin + (side - lineHeight) / 2, heading,
             lstrlenA(heading));
    if (previousFont != NULL)
        SelectObject(dc, previousFont);
    EndPaint(window, &paint);
}

void AlertWindow::OnClose()
{
    if (choice != NULL && IsWindow(choice)) {
        LRESULT selected = SendMessageA(choice, CB_GETCURSEL, 0, 0);
        if (selected >= 0 && selected < kSnoozeChoices)
            chosen = (int)selected;
    }
    MessageBoxWindow::OnClose();
    list = choice = NULL;
    if (smallIcon != NULL && smallIconOwned)
        DestroyIcon(smallIcon);
    smallIcon = NULL;
    smallIconOwned = 0;
}

void AlertWindow::OnEscape() { Press(0); }

HWND AlertWindow::TabStopAfter(int index) { return index == 1 ? choice : NULL; }

void AlertWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    MessageBoxWindow::OnDpiChanged(wParam, lParam);
    SetChildFonts();
    PlaceButtons();
}
