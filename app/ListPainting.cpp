// The colours of the reminder list: today's reminders stand out whether or
// not they are selected.
#include "../core/Application.h"
#include "../core/EntryTable.h"

static const COLORREF kWhite = RGB(255, 255, 255);
static const COLORREF kBlack = RGB(0, 0, 0);
static const COLORREF kYellow = RGB(255, 255, 0);
static const COLORREF kRed = RGB(255, 0, 0);
static const COLORREF kDarkRed = RGB(128, 0, 0);

void Application::OnDrawItem(WPARAM, LPARAM item)
{
    DRAWITEMSTRUCT* draw = reinterpret_cast<DRAWITEMSTRUCT*>(item);
    if (draw == NULL || (draw->itemAction != ODA_DRAWENTIRE && draw->itemAction != ODA_SELECT))
        return;
    if (draw->itemID == (UINT)-1) // an empty list asks to draw its focus only
        return;
    COLORREF background = (draw->itemState & ODS_SELECTED) ? kYellow : kWhite;
    COLORREF text = kBlack;
    LRESULT index = SendMessageA(draw->hwndItem, LB_GETITEMDATA, draw->itemID, 0);
    if (index >= 0 && (index & kMissedLine)) {
        // A day already gone: apart from today's and the coming ones.
        if (!(draw->itemState & ODS_SELECTED))
            text = kDarkRed;
    } else if (index >= 0 && index < entryCount && entryTable.records[index].isToday) {
        text = kYellow;
        background = kRed;
    }
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(draw->hDC, &draw->rcItem, brush);
    DeleteObject(brush);
    SetTextColor(draw->hDC, text);
    SetBkColor(draw->hDC, background);

    char line[512] = "";
    LRESULT length = SendMessageA(draw->hwndItem, LB_GETTEXTLEN, draw->itemID, 0);
    if (length >= 0 && length < (LRESULT)sizeof line)
        SendMessageA(draw->hwndItem, LB_GETTEXT, draw->itemID, (LPARAM)line);
    // Drawn as typed: an '&' in a reminder is a character, not a mnemonic.
    DrawTextA(draw->hDC, line, -1, &draw->rcItem, DT_SINGLELINE | DT_NOPREFIX);
}
