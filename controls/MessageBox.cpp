#include "MessageBox.h"

#include "../core/BoundedString.h"
#include "../framework/CentreWindow.h"
#include "../framework/DpiScale.h"

#include <string.h>

const char kBoxClassName[] = "CMSGCLASS";

namespace {

int classRegistered;

// Shown when the text cannot be copied; never freed.
char outOfMemoryText[] = "Out of memory";

// The box whose window is open. The boxes share their buttons and key
// state, so a second box cannot open beside it.
MessageBoxWindow* openBox;
// Whether the open box disabled its owner; an owner that was already
// disabled (under a modal dialog) must stay so when the box goes.
int ownerDisabledByBox;

// The system icon the style names, null when it names none.
const char* SystemIconOf(int style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return MAKEINTRESOURCEA(32513);        // IDI_HAND
    case MB_ICONQUESTION: return MAKEINTRESOURCEA(32514);    // IDI_QUESTION
    case MB_ICONEXCLAMATION: return MAKEINTRESOURCEA(32515); // IDI_EXCLAMATION
    case MB_ICONASTERISK: return MAKEINTRESOURCEA(32516);    // IDI_ASTERISK
    default: return NULL;
    }
}

} // namespace

// The line that starts at line: its length, and where the next one starts.
// A final line feed starts no further line.
const char* NextBoxLine(const char* line, int* length)
{
    const char* end = line;
    while (*end != '\0' && *end != '\n')
        ++end;
    *length = (int)(end - line);
    return *end == '\n' ? end + 1 : end;
}

int BoxTextWidth(HDC dc, const char* text, int length)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &size);
    return (int)size.cx;
}

void OwnerClientRect(HWND owner, RECT* client)
{
    SetRectEmpty(client);
    if (owner != NULL)
        GetClientRect(owner, client);
}


int MessageBoxWindow::buttonCount;
int MessageBoxWindow::focusIndex;
WNDPROC MessageBoxWindow::buttonProcedure;

MessageBoxWindow::MessageBoxWindow()
    : running(0), owner(NULL), icon(NULL), iconOwned(0), dpi(kBaseDpi), font(NULL), fontOwned(0),
      iconName(NULL), maxCharWidth(0), lineHeight(0), lineCount(0),
      maxLineWidth(0), result(0), style(0), textColour(0), backgroundColour(0), text(NULL),
      caption(NULL)
{
    windowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    buttonResult[0] = buttonResult[1] = buttonResult[2] = 0;
    measuredText = NULL;
    textArea.left = textArea.top = textArea.right = textArea.bottom = 0;
}

int MessageBoxWindow::RegisterWindowClass()
{
    WNDCLASSA description;
    memset(&description, 0, sizeof description);
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.lpfnWndProc = SharedWindowProc;
    description.cbWndExtra = 4;
    description.hInstance = instanceHandle;
    description.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    description.lpszClassName = kBoxClassName;
    return RegisterClassOnce(&classRegistered, description, this);
}

int MessageBoxWindow::Show(HWND ownerWindow, const char* boxText, const char* boxCaption,
                           int boxStyle, const char* iconNameArg, COLORREF textColourArg,
                           COLORREF backgroundColourArg, COLORREF frameColour)
{
    if (openBox != NULL)
        return 0;
    if (boxText == NULL)
        boxText = "";
    if (boxCaption == NULL)
        boxCaption = "";

    owner = ownerWindow;
    style = boxStyle;
    textColour = textColourArg;
    backgroundColour = backgroundColourArg;
    running = 1;
    result = 0;
    frame.highlight = RGB(255, 255, 255);
    frame.shadow = frameColour;

    size_t size = strlen(boxText) + 1;
    text = static_cast<char*>(GlobalAlloc(GMEM_FIXED, size));
    if (text != NULL)
        CopyText(text, size, boxText);
    else
        text = outOfMemoryText;
    caption = boxCaption;

    dpi = DpiOf(owner);
    iconName = iconNameArg;
    MakeFontAndIcon();
    if (!Measure(boxText)) {
        ReleaseFontAndIcon();
        ReleaseText();
        running = 0;
        return 0;
    }

    // Registered at the first box rather than at construction: the window
    // DLLs then stay unloaded in a start-up-list run that shows nothing.
    RegisterWindowClass();
    if (!CreateBoxWindow()) {
        ReleaseFontAndIcon();
        ReleaseText();
        running = 0;
        return 0;
    }
    openBox = this;
    AfterCreate();
    // EnableWindow answers whether the window was disabled already.
    ownerDisabledByBox = owner != NULL && !EnableWindow(owner, FALSE);

    // Waits for each message instead of polling, so an open box costs no
    // processor time. A box window destroyed without OnClose (with its owner)
    // can no longer be answered and ends the wait too.
    while (running && IsWindow(window)) {
        if (PumpPendingMessages())
            break; // a quit message: nobody can answer the box any more
        if (running)
            WaitMessage();
    }
    if (window != NULL && IsWindow(window)) {
        OnClose();
    } else {
        window = NULL;
        RestoreOwner();
        ReleaseText();
        running = 0;
    }
    ReleaseFontAndIcon();
    openBox = NULL;
    return result;
}

int MessageBoxWindow::Scaled(int length) const { return ScaleLength(length, dpi); }

int MessageBoxWindow::IconSize() const { return SystemMetricForDpi(SM_CXICON, dpi); }

void MessageBoxWindow::MakeFontAndIcon()
{
    font = StockFontForDpi(SYSTEM_FONT, dpi, &fontOwned);
    // Drawn only once the window shows, but loaded before it exists, so
    // that a box that comes up and paints at once has it.
    const char* systemIcon = SystemIconOf(style);
    if (systemIcon != NULL)
        icon = LoadIconForDpi(NULL, systemIcon, dpi, &iconOwned);
    else if (iconName != NULL)
        icon = LoadIconForDpi(instanceHandle, iconName, dpi, &iconOwned);
    else
        icon = NULL;
}

void MessageBoxWindow::ReleaseFontAndIcon()
{
    if (icon != NULL && iconOwned)
        DestroyIcon(icon);
    icon = NULL;
    iconOwned = 0;
    ReleaseFont(&font, &fontOwned);
}

int MessageBoxWindow::Measure(const char* boxText)
{
    measuredText = boxText;
    // The display's default font is the one the box's window paints with,
    // made anew where the box is drawn at another DPI.
    HDC info = CreateICA("DISPLAY", NULL, NULL, NULL);
    if (info == NULL)
        return 0;
    HGDIOBJ previousFont = SelectObject(info, font);
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(info, &metrics)) {
        SelectObject(info, previousFont);
        DeleteDC(info);
        return 0;
    }
    maxCharWidth = metrics.tmMaxCharWidth;
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    lineCount = 0;
    maxLineWidth = 0;
    // Laid out for the text asked for, also when "Out of memory" stands in.
    for (const char* line = boxText; *line != '\0';) {
        int length;
        const char* next = NextBoxLine(line, &length);
        int width = BoxTextWidth(info, line, length);
        if (width > maxLineWidth)
            maxLineWidth = width;
        ++lineCount;
        line = next;
    }

    // Room for the buttons side by side, however short the text.
    int buttonSet = style & MB_TYPEMASK;
    int minimumRight = 0;
    if (buttonSet == MB_OKCANCEL || buttonSet == MB_YESNO)
        minimumRight = 10 * lineHeight;
    else if (buttonSet == MB_YESNOCANCEL)
        minimumRight = 13 * lineHeight;
    if (SystemIconOf(style) != NULL || iconName != NULL) {
        textArea.left = Scaled(64);
        textArea.right = maxLineWidth + 4 * maxCharWidth + Scaled(64);
    } else {
        int captionWidth = BoxTextWidth(info, caption, (int)strlen(caption));
        if (captionWidth > maxLineWidth)
            maxLineWidth = captionWidth;
        textArea.left = Scaled(8);
        textArea.right = maxLineWidth + 4 * maxCharWidth + Scaled(8);
    }
    if (textArea.right < minimumRight)
        textArea.right = minimumRight;
    textArea.top = lineHeight;
    textArea.bottom = lineHeight * (lineCount + 1) + Scaled(8);
    SelectObject(info, previousFont);
    DeleteDC(info);
    return 1;
}

void MessageBoxWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    int newDpi = LOWORD(wParam);
    if (newDpi <= 0)
        return;
    HFONT oldFont = font;
    int oldFontOwned = fontOwned;
    HICON oldIcon = icon;
    int oldIconOwned = iconOwned;
    dpi = newDpi;
    MakeFontAndIcon();
    Measure(measuredText);
    for (int i = 0; i < buttonCount; ++i)
        SendMessageA(boxButtons[i].window, WM_SETFONT, fontOwned ? (WPARAM)font : 0, FALSE);
    if (oldFontOwned)
        DeleteObject(oldFont);
    if (oldIcon != NULL && oldIconOwned)
        DestroyIcon(oldIcon);
    TakeSuggestedRect(window, lParam);
    PlaceButtons();
    InvalidateRect(window, NULL, TRUE);
}

int MessageBoxWindow::PumpPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT)
            return 1;
        BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == 0) {
            // The quit message overtook the one looked at; it belongs to the
            // main loop, so it goes back.
            PostQuitMessage((int)message.wParam);
            return 1;
        }
        if (got < 0)
            return 0;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int MessageBoxWindow::CreateBoxWindow()
{
    int width = textArea.right + Scaled(16);
    int height = lineHeight * (lineCount + 6);
    windowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    exStyle = 0;
    // OnCreate centres the box afterwards; this only starts it near there.
    RECT ownerClient;
    OwnerClientRect(owner, &ownerClient);
    return CreateOwnWindow(kBoxClassName, owner, NULL, caption, ownerClient.right / 2 - width / 2,
                           ownerClient.bottom / 2 - height / 2, width, height);
}

void MessageBoxWindow::AfterCreate() {}
void MessageBoxWindow::OnEscape() {}
HWND MessageBoxWindow::TabStopAfter(int) { return NULL; }
void MessageBoxWindow::OnOtherCommand(int, HWND) {}

int MessageBoxWindow::MakeButton(int index, const char* label, int value, int x, int y)
{
    buttonResult[index] = value;
    if (!boxButtons[index].Create(window, 0, label, x, y, Scaled(60), Scaled(30)))
        return 0;
    if (fontOwned)
        SendMessageA(boxButtons[index].window, WM_SETFONT, (WPARAM)font, FALSE);
    return 1;
}

// Left edges of the buttons at 96 DPI, from the middle of the box.
static int ButtonOffset(int buttonSet, int index)
{
    static const int kTwo[] = {-70, 10};
    static const int kThree[] = {-100, -30, 40};
    switch (buttonSet) {
    case MB_OKCANCEL:
    case MB_YESNO: return kTwo[index % 2];
    case MB_YESNOCANCEL: return kThree[index % 3];
    default: return -30;
    }
}

void MessageBoxWindow::PlaceButtons()
{
    RECT client;
    GetClientRect(window, &client);
    for (int i = 0; i < buttonCount; ++i)
        MoveWindow(boxButtons[i].window, client.right / 2 + Scaled(ButtonOffset(style & MB_TYPEMASK, i)),
                   client.bottom - 2 * lineHeight, Scaled(60), Scaled(30), TRUE);
}

int MessageBoxWindow::CreateButtons()
{
    RECT client;
    GetClientRect(window, &client);
    int mid = client.right / 2;
    int top = client.bottom - 2 * lineHeight;
    int set = style & MB_TYPEMASK;
    int made;
    switch (set) {
    case MB_OKCANCEL:
        buttonCount = 2;
        made = MakeButton(0, "&Ok", IDOK, mid + Scaled(ButtonOffset(set, 0)), top) &&
               MakeButton(1, "&Cancel", IDCANCEL, mid + Scaled(ButtonOffset(set, 1)), top);
        break;
    case MB_YESNO:
        buttonCount = 2;
        made = MakeButton(0, "&Yes", IDYES, mid + Scaled(ButtonOffset(set, 0)), top) &&
               MakeButton(1, "&No", IDNO, mid + Scaled(ButtonOffset(set, 1)), top);
        break;
    case MB_YESNOCANCEL:
        buttonCount = 3;
        made = MakeButton(0, "&Yes", IDYES, mid + Scaled(ButtonOffset(set, 0)), top) &&
               MakeButton(1, "&No", IDNO, mid + Scaled(ButtonOffset(set, 1)), top) &&
               MakeButton(2, "&Cancel", IDCANCEL, mid + Scaled(ButtonOffset(set, 2)), top);
        break;
    default:
        buttonCount = 1;
        made = MakeButton(0, "&Ok", IDOK, mid + Scaled(ButtonOffset(set, 0)), top);
        break;
    }
    return made;
}

int MessageBoxWindow::OnCreate()
{
    // A box missing a button could not be answered.
    if (!CreateButtons())
        return 0;
    int defaultButton = style & MB_DEFMASK;
    focusIndex = defaultButton == MB_DEFBUTTON2 ? 1 : defaultButton == MB_DEFBUTTON3 ? 2 : 0;
    // A default beyond the set would focus a button of an earlier box.
    if (focusIndex >= buttonCount)
        focusIndex = 0;
    SetFocus(boxButtons[focusIndex].window);
    buttonProcedure =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(boxButtons[0].window, GWLP_WNDPROC));
    for (int i = 0; i < buttonCount; ++i)
        SetWindowLongPtrA(boxButtons[i].window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(BoxKeyHandler));
    // Made after the buttons, so that no button ever attaches to it by id.
    CreateWindowExA(0, "STATIC", text, WS_CHILD, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBoxTextLabelId)),
                    instanceHandle, NULL);
    CentreWindow(window);
    return 1;
}

void MessageBoxWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH background = CreateSolidBrush(backgroundColour);
    FillRect(dc, &paint.rcPaint, background);
    DeleteObject(background);
    if (icon != NULL) {
        int side = IconSize();
        DrawIconEx(dc, Scaled(16), textArea.top + (textArea.bottom - textArea.top) / 2 - side / 2,
                   icon, side, side, 0, NULL, DI_NORMAL);
        frame.Place(textArea);
        frame.Draw(dc);
    }
    HGDIOBJ previousFont = fontOwned ? SelectObject(dc, font) : NULL;
    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    SetBkMode(dc, OPAQUE);
    int y = textArea.top + Scaled(3);
    for (const char* line = text != NULL ? text : ""; *line != '\0';) {
        int length;
        const char* next = NextBoxLine(line, &length);
        int width = BoxTextWidth(dc, line, length);
        TextOutA(dc, textArea.left + (textArea.right - textArea.left - width) / 2, y, line, length);
        y += lineHeight;
        line = next;
    }
    if (previousFont != NULL)
        SelectObject(dc, previousFont);
    EndPaint(window, &paint);
}

void MessageBoxWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // After the first answer the box only waits for its WM_CLOSE; a second
    // click must not change the answer already given.
    if (HIWORD(wParam) != 0 || !running)
        return;
    int id = LOWORD(wParam);
    int index = 0;
    while (index < buttonCount && LOWORD(boxButtons[index].controlId) != id)
        ++index;
    if (index < buttonCount)
        result = buttonResult[index];
    else
        OnOtherCommand(id, reinterpret_cast<HWND>(lParam));
    if (result != 0 && running) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        running = 0;
    }
}

void MessageBoxWindow::RestoreOwner()
{
    if (owner != NULL && ownerDisabledByBox)
        EnableWindow(owner, TRUE);
    ownerDisabledByBox = 0;
}

void MessageBoxWindow::ReleaseText()
{
    if (text != NULL && text != outOfMemoryText)
        GlobalFree(text);
    text = NULL;
}

void MessageBoxWindow::OnClose()
{
    // The owner first: enabled before the box goes, it takes the activation
    // back instead of some other program's window.
    RestoreOwner();
    Destroy();
    ReleaseText();
    running = 0;
}

void MessageBoxWindow::OnLButtonDown(WPARAM, LPARAM)
{
    SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(5, 5));
}

void MessageBoxWindow::OnSetFocus()
{
    if (focusIndex < buttonCount)
        SetFocus(boxButtons[focusIndex].window);
}

LRESULT CALLBACK MessageBoxWindow::BoxKeyHandler(HWND button, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    HWND focus = GetFocus();
    for (int i = 0; i < buttonCount; ++i) {
        if (boxButtons[i].window == focus)
            focusIndex = i;
    }
    if (message == WM_KEYDOWN && buttonCount > 0) {
        int pressed = -1;
        switch (wParam) {
        case VK_TAB:
            if (openBox != NULL && openBox->TabStopAfter(focusIndex) != NULL) {
                SetFocus(openBox->TabStopAfter(focusIndex));
                break;
            }
            // fall through
        case VK_RIGHT:
            focusIndex = (focusIndex + 1) % buttonCount;
            SetFocus(boxButtons[focusIndex].window);
            break;
        case VK_ESCAPE:
            if (openBox != NULL)
                openBox->OnEscape();
            break;
        case VK_LEFT:
            focusIndex = focusIndex == 0 ? buttonCount - 1 : focusIndex - 1;
            SetFocus(boxButtons[focusIndex].window);
            break;
        case VK_RETURN:
            pressed = focusIndex;
            break;
        default:
            // Letter keys come as their upper-case letter, whatever the Shift state.
            for (int i = 0; i < buttonCount && pressed < 0; ++i) {
                if (boxButtons[i].mnemonic != 0 &&
                    (WPARAM)(unsigned char)boxButtons[i].mnemonic == (wParam & 0xFF))
                    pressed = i;
            }
            break;
        }
        if (pressed >= 0)
            SendMessageA(GetParent(button), WM_COMMAND, LOWORD(boxButtons[pressed].controlId), 0);
    }
    // The button keeps its own behaviour too: the space bar presses it.
    return CallWindowProcA(buttonProcedure, button, message, wParam, lParam);
}
