// The About box: the message box's parts in an ellipse, with the maker's link.
#include "AboutBox.h"

#include "../framework/DpiScale.h"

#include <shellapi.h>

#include <string.h>

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
    return CreateOwnWindow(kBoxClassName, owner, NULL, "", ownerClient.right / 2,
                           ownerClient.bottom / 2, width, height);
}

void AboutBoxWindow::FitEllipse()
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
}

int AboutBoxWindow::CreateButtons()
{
    FitEllipse();
    buttonCount = 1;
    return MakeButton(0, "&Ok", IDOK, (outerWidth - 1) / 2 + Scaled(-30),
                      (outerHeight - 1) - 3 * lineHeight);
}

void AboutBoxWindow::PlaceButtons()
{
    MoveWindow(boxButtons[0].window, (outerWidth - 1) / 2 + Scaled(-30),
               (outerHeight - 1) - 3 * lineHeight, Scaled(60), Scaled(30), TRUE);
}

void AboutBoxWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    MessageBoxWindow::OnDpiChanged(wParam, lParam);
    // Sized from the text as when it opened, where the system put it.
    SetWindowPos(window, NULL, 0, 0, maxLineWidth + 4 * maxCharWidth,
                 lineHeight * (lineCount + (caption[0] != '\0' ? 10 : 8)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitEllipse();
    PlaceButtons();
    // The link is made again at the next paint, in the new font.
    if (linkButton.window != NULL)
        DestroyWindow(linkButton.window);
    linkButton.window = NULL;
    linkCreated = 0;
    InvalidateRect(window, NULL, TRUE);
}

void AboutBoxWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(backgroundColour);
    HPEN pen = CreatePen(PS_SOLID, Scaled(3), RGB(255, 0, 0));
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    Ellipse(dc, Scaled(1), Scaled(1), outerWidth - Scaled(2), outerHeight - Scaled(2));
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    if (icon != NULL) {
        int side = IconSize();
        DrawIconEx(dc, outerWidth / 2 - side / 2, Scaled(18), icon, side, side, 0, NULL, DI_NORMAL);
    }

    HGDIOBJ previousFont = fontOwned ? SelectObject(dc, font) : NULL;
    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    int y = 2 * lineHeight + Scaled(32);
    for (const char* line = text != NULL ? text : ""; *line != '\0';) {
        int length;
        const char* next = NextBoxLine(line, &length);
        TextOutA(dc, (outerWidth - BoxTextWidth(dc, line, length)) / 2, y, line, length);
        y += lineHeight;
        line = next;
    }

    if (caption[0] != '\0' && !linkCreated) {
        linkFont.description.lfUnderline = TRUE;
        linkFont.textColour = RGB(0, 0, 128);
        // Every showing makes the font anew; the one of the last showing goes.
        linkFont.Release();
        linkFont.CreateForDpi(dpi, "MS Sans Serif", 12);
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
    if (previousFont != NULL)
        SelectObject(dc, previousFont);
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
