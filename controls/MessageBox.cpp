#include "MessageBox.h"

#include "../core/BoundedString.h"
#include "../framework/CentreWindow.h"

#include <shellapi.h>

#include <string.h>

namespace {

const char kClassName[] = "CMSGCLASS";
int classRegistered;

// Shown when the text cannot be copied; never freed.
char outOfMemoryText[] = "Out of memory";

// The box whose window is open. The two boxes share their buttons and key
// state, so a second box cannot open beside it.
MessageBoxWindow* openBox;
// Whether the open box disabled its owner; an owner that was already
// disabled (under a modal dialog) must stay so when the box goes.
int ownerDisabledByBox;

// The line that starts at line: its length, and where the next one starts.
// A final line feed starts no further line.
const char* NextLine(const char* line, int* length)
{
    const char* end = line;
    while (*end != '\0' && *end != '\n')
        ++end;
    *length = (int)(end - line);
    return *end == '\n' ? end + 1 : end;
}

int TextWidth(HDC dc, const char* text, int length)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &size);
    return (int)size.cx;
}

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

void OwnerClientRect(HWND owner, RECT* client)
{
    SetRectEmpty(client);
    if (owner != NULL)
        GetClientRect(owner, client);
}

} // namespace

int MessageBoxWindow::buttonCount;
int MessageBoxWindow::focusIndex;
WNDPROC MessageBoxWindow::buttonProcedure;

MessageBoxWindow::MessageBoxWindow()
    : running(0), owner(NULL), icon(NULL), maxCharWidth(0), lineHeight(0), lineCount(0),
      maxLineWidth(0), result(0), style(0), textColour(0), backgroundColour(0), text(NULL),
      caption(NULL)
{
    windowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    buttonResult[0] = buttonResult[1] = buttonResult[2] = 0;
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
    description.lpszClassName = kClassName;
    return RegisterClassOnce(&classRegistered, description, this);
}

int MessageBoxWindow::Show(HWND ownerWindow, const char* boxText, const char* boxCaption,
                           int boxStyle, const char* iconName, COLORREF textColourArg,
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

    // The display's default font is the one the box's window paints with.
    HDC info = CreateICA("DISPLAY", NULL, NULL, NULL);
    TEXTMETRICA metrics;
    if (info == NULL || !GetTextMetricsA(info, &metrics)) {
        if (info != NULL)
            DeleteDC(info);
        ReleaseText();
        running = 0;
        return 0;
    }
    maxCharWidth = metrics.tmMaxCharWidth;
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    lineCount = 0;
    maxLineWidth = 0;
    // Laid out for the text asked for, also when "Out of memory" stands in.
    for (const char* line = boxText; *line != '\0';) {
        int length;
        const char* next = NextLine(line, &length);
        int width = TextWidth(info, line, length);
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
    const char* systemIcon = SystemIconOf(style);
    if (systemIcon != NULL || iconName != NULL) {
        textArea.left = 64;
        textArea.right = maxLineWidth + 4 * maxCharWidth + 64;
    } else {
        int captionWidth = TextWidth(info, caption, (int)strlen(caption));
        if (captionWidth > maxLineWidth)
            maxLineWidth = captionWidth;
        textArea.left = 8;
        textArea.right = maxLineWidth + 4 * maxCharWidth + 8;
    }
    if (textArea.right < minimumRight)
        textArea.right = minimumRight;
    DeleteDC(info);

    icon = NULL;
    // Registered at the first box rather than at construction: the window
    // DLLs then stay unloaded in a start-up-list run that shows nothing.
    RegisterWindowClass();
    if (!CreateBoxWindow()) {
        ReleaseText();
        running = 0;
        return 0;
    }
    openBox = this;
    AfterCreate();
    if (systemIcon != NULL)
        icon = LoadIconA(NULL, systemIcon);
    else if (iconName != NULL)
        icon = LoadIconA(instanceHandle, iconName);
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
    openBox = NULL;
    return result;
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
    textArea.top = lineHeight;
    textArea.bottom = lineHeight * (lineCount + 1) + 8;
    int width = textArea.right + 16;
    int height = lineHeight * (lineCount + 6);
    windowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    exStyle = 0;
    // OnCreate centres the box afterwards; this only starts it near there.
    RECT ownerClient;
    OwnerClientRect(owner, &ownerClient);
    return CreateOwnWindow(kClassName, owner, NULL, caption, ownerClient.right / 2 - width / 2,
                           ownerClient.bottom / 2 - height / 2, width, height);
}

void MessageBoxWindow::AfterCreate() {}
void MessageBoxWindow::OnOtherCommand(int, HWND) {}

int MessageBoxWindow::MakeButton(int index, const char* label, int value, int x, int y)
{
    buttonResult[index] = value;
    return boxButtons[index].Create(window, 0, label, x, y, 60, 30);
}

int MessageBoxWindow::CreateButtons()
{
    RECT client;
    GetClientRect(window, &client);
    int mid = client.right / 2;
    int top = client.bottom - 2 * lineHeight;
    int made;
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        buttonCount = 2;
        made = MakeButton(0, "&Ok", IDOK, mid - 70, top) &&
               MakeButton(1, "&Cancel", IDCANCEL, mid + 10, top);
        break;
    case MB_YESNO:
        buttonCount = 2;
        made = MakeButton(0, "&Yes", IDYES, mid - 70, top) &&
               MakeButton(1, "&No", IDNO, mid + 10, top);
        break;
    case MB_YESNOCANCEL:
        buttonCount = 3;
        made = MakeButton(0, "&Yes", IDYES, mid - 100, top) &&
               MakeButton(1, "&No", IDNO, mid - 30, top) &&
               MakeButton(2, "&Cancel", IDCANCEL, mid + 40, top);
        break;
    default:
        buttonCount = 1;
        made = MakeButton(0, "&Ok", IDOK, mid - 30, top);
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
        DrawIcon(dc, 16, textArea.top + (textArea.bottom - textArea.top) / 2 - 16, icon);
        frame.Place(textArea);
        frame.Draw(dc);
    }
    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    SetBkMode(dc, OPAQUE);
    int y = textArea.top + 3;
    for (const char* line = text != NULL ? text : ""; *line != '\0';) {
        int length;
        const char* next = NextLine(line, &length);
        int width = TextWidth(dc, line, length);
        TextOutA(dc, textArea.left + (textArea.right - textArea.left - width) / 2, y, line, length);
        y += lineHeight;
        line = next;
    }
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
        case VK_RIGHT:
            focusIndex = (focusIndex + 1) % buttonCount;
            SetFocus(boxButtons[focusIndex].window);
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

AboutBoxWindow::AboutBoxWindow() : linkCreated(0), outerWidth(0), outerHeight(0)
{
    linkRect.left = linkRect.top = linkRect.right = linkRect.bottom = 0;
    linkButton.windowStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
}

AboutBoxWindow::~AboutBoxWindow()
{
    linkFont.Release();
}

int AboutBoxWindow::CreateBoxWindow()
{
    windowStyle = WS_POPUP | WS_VISIBLE;
    exStyle = 0;
    int width = maxLineWidth + 4 * maxCharWidth;
    int height = lineHeight * (lineCount + (caption[0] != '\0' ? 10 : 8));
    RECT ownerClient;
    OwnerClientRect(owner, &ownerClient);
    // Cleared before the window exists, so no paint can come before it.
    linkCreated = 0;
    return CreateOwnWindow(kClassName, owner, NULL, "", ownerClient.right / 2,
                           ownerClient.bottom / 2, width, height);
}

int AboutBoxWindow::CreateButtons()
{
    RECT client;
    GetClientRect(window, &client);
    outerWidth = client.right - client.left + 1;
    outerHeight = client.bottom - client.top + 1;
    HRGN ellipse = CreateEllipticRgn(0, 0, outerWidth, outerHeight);
    // The window owns the region once it took it.
    if (ellipse != NULL && !SetWindowRgn(window, ellipse, TRUE))
        DeleteObject(ellipse);
    SetWindowPos(window, NULL, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER);
    buttonCount = 1;
    return MakeButton(0, "&Ok", IDOK, client.right / 2 - 30, client.bottom - 3 * lineHeight);
}

void AboutBoxWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(backgroundColour);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    Ellipse(dc, 1, 1, outerWidth - 2, outerHeight - 2);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    if (icon != NULL)
        DrawIcon(dc, outerWidth / 2 - 16, 18, icon);

    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    int y = 2 * lineHeight + 32;
    for (const char* line = text != NULL ? text : ""; *line != '\0';) {
        int length;
        const char* next = NextLine(line, &length);
        TextOutA(dc, (outerWidth - TextWidth(dc, line, length)) / 2, y, line, length);
        y += lineHeight;
        line = next;
    }

    if (caption[0] != '\0' && !linkCreated) {
        linkFont.description.lfUnderline = TRUE;
        linkFont.textColour = RGB(0, 0, 128);
        // Every showing makes the font anew; the one of the last showing goes.
        linkFont.Release();
        linkFont.Create(dc, "MS Sans Serif", 12);
        linkFont.Select(dc);
        int length = (int)strlen(caption);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, caption, length, &size);
        linkRect.left = (outerWidth - size.cx) / 2;
        linkRect.top = y + lineHeight; // an empty line between the text and the link
        linkRect.right = linkRect.left + size.cx;
        linkRect.bottom = linkRect.top + size.cy;
        linkButton.Create(window, 0, "", linkRect.left, linkRect.top, size.cx, size.cy);
        linkCreated = 1;
    }
    EndPaint(window, &paint);
}

void AboutBoxWindow::OnDrawItem(WPARAM, LPARAM lParam)
{
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!linkCreated || item == NULL || item->hwndItem != linkButton.window)
        return;
    linkFont.Select(item->hDC);
    SetBkColor(item->hDC, backgroundColour);
    TextOutA(item->hDC, 0, 0, caption, (int)strlen(caption));
}

void AboutBoxWindow::OnOtherCommand(int, HWND control)
{
    if (!linkCreated || control == NULL || control != linkButton.window)
        return;
    // Whether or not the shell could open it, the link was the answer.
    ShellExecuteA(GetParent(window), "open", caption, "", "", SW_SHOWNORMAL);
    SendMessageA(window, WM_COMMAND, LOWORD(boxButtons[0].controlId), 0);
}
