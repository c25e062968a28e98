#include "CalendarControl.h"

#include "../core/BoundedString.h"
#include "../framework/DpiScale.h"
#include "../framework/WindowObject.h"
#include "../resources/resource.h"
#include "SunkenFrame.h"

// Tab stops: Tab leads from the grid to the month list, from there on to
// the year list and out of the calendar.
static const DWORD kSelectorStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
static_assert(kSelectorStyle == 0x50210003, "the lists are plain drop-down lists");

// Letters and spaces chosen so that each letter sits over its 23-pixel column
// in the header font at 96 DPI. Spaces do not grow as the columns do at other
// scales, where each letter is placed over its column instead.
static const char kWeekdayHeader[] = " S     M     T     W     T     F     S ";
static const char kWeekdayLetters[] = "SMTWTFS";

static int calendarClassRegistered;

CalendarControl::CalendarControl(int id)
    : CustomControl(id), firstWeekday(0), daysInMonth(0), firstYear(0), clientRect(), date(),
      focused(0), focusHidden(0), dpi(kBaseDpi), pitch(kCellPitch), rowHeight(kCellHeight), gridTop(kGridTop)
{
    monthSelector.windowStyle = kSelectorStyle;
    yearSelector.windowStyle = kSelectorStyle;
}

int CalendarControl::RegisterWindowClass()
{
    WNDCLASSA description = {};
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.lpfnWndProc = CustomControlProc;
    description.hInstance = instanceHandle;
    description.lpszClassName = "CalendarClass";
    RegisterClassOnce(&calendarClassRegistered, description, NULL);
    return calendarClassRegistered;
}

void CalendarControl::OnCreate(HWND newWindow)
{
    window = newWindow;
    GetClientRect(window, &clientRect);
    focused = 0; // a new window starts without the focus
    focusHidden = (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    dpi = DpiOf(window);
    FitGrid();

    // A window made again without the old one's WM_DESTROY must not leak
    // the fonts made for it.
    dayFont.Release();
    headerFont.Release();
    monthSelector.window = NULL;
    yearSelector.window = NULL;
    MakeFontsAndLists();

    SetCursor(LoadCursorA(NULL, IDC_ARROW));
}

int CalendarControl::Scaled(int length) const { return ScaleLength(length, dpi); }

void CalendarControl::MakeFontsAndLists()
{
    FontSpec oldDay = dayFont;
    FontSpec oldHeader = headerFont;
    dayFont.CreateForDpi(dpi, "Arial", 9);
    headerFont.description.lfWeight = FW_BOLD;
    headerFont.description.lfUnderline = TRUE;
    headerFont.CreateForDpi(dpi, "Arial", 9);

    if (monthSelector.window == NULL) {
        monthSelector.Create(window, kMonthSelectorId, "", 0, 0, Scaled(90), Scaled(210));
        yearSelector.Create(window, kYearSelectorId, "", Scaled(96), 0, Scaled(60), Scaled(200));
    } else {
        MoveWindow(monthSelector.window, 0, 0, Scaled(90), Scaled(210), TRUE);
        MoveWindow(yearSelector.window, Scaled(96), 0, Scaled(60), Scaled(200), TRUE);
    }
    // Shift+Tab from the month list goes back to the grid.
    monthSelector.TabBackTo(window);
    SendMessageA(monthSelector.window, WM_SETFONT, (WPARAM)dayFont.handle, TRUE);
    SendMessageA(yearSelector.window, WM_SETFONT, (WPARAM)dayFont.handle, TRUE);
    // The lists use the new font now; the old ones can go.
    oldDay.Release();
    oldHeader.Release();
}

void CalendarControl::OnSize(WPARAM, LPARAM)
{
    GetClientRect(window, &clientRect);
    FitGrid();
}

void CalendarControl::FitGrid()
{
    int margin = Scaled(2);
    pitch = Scaled(kCellPitch);
    rowHeight = Scaled(kCellHeight);
    gridTop = Scaled(kGridTop);
    // Seven columns up to the grid's right margin.
    int width = clientRect.right - margin;
    if (width > 0 && 7 * pitch > width)
        pitch = width / 7;
    // The header band and six rows between the frame's top and bottom
    // margins, shared out as at 96 DPI.
    int headerTop = Scaled(kFrameTop) + margin;
    int height = clientRect.bottom - margin - headerTop;
    if (height > 0 && gridTop - headerTop + 6 * rowHeight > height) {
        const int headerAt96 = kGridTop - kFrameTop - 2;
        rowHeight = height * kCellHeight / (headerAt96 + 6 * kCellHeight);
        gridTop = clientRect.bottom - margin - 6 * rowHeight;
    }
}

void CalendarControl::OnDpiChanged()
{
    dpi = DpiOf(window);
    GetClientRect(window, &clientRect);
    FitGrid();
    MakeFontsAndLists();
    InvalidateRect(window, NULL, TRUE);
}

void CalendarControl::OnDestroy()
{
    dayFont.Release();
    headerFont.Release();
    // The list windows go with this one; stale handles must not reach
    // whatever window is given the same handle later.
    monthSelector.window = NULL;
    yearSelector.window = NULL;
    window = NULL;
}

void CalendarControl::SetDate(const DateRecord& newDate)
{
    date = newDate;

    // Emptied first: filled twice, the year list would show the old years
    // where the new ones are counted from firstYear.
    SendMessageA(monthSelector.window, CB_RESETCONTENT, 0, 0);
    for (int month = 1; month <= 12; ++month)
        SendMessageA(monthSelector.window, CB_ADDSTRING, 0, (LPARAM)kMonthNames[month]);
    SendMessageA(monthSelector.window, CB_SETCURSEL, (WPARAM)(date.month - 1), 0);

    firstYear = date.year - kYearsBeforeLoaded;
    SendMessageA(yearSelector.window, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kYearListLength; ++i) {
        char text[16];
        FormatSigned(text, sizeof text, firstYear + i);
        SendMessageA(yearSelector.window, CB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageA(yearSelector.window, CB_SETCURSEL, kYearsBeforeLoaded, 0);

    Recalculate();
    NotifyParent(DATE_CHANGED);
}

void CalendarControl::GetDate(DateRecord& out) const { out = date; }

void CalendarControl::SetYearLocked(int locked) { EnableWindow(yearSelector.window, !locked); }

void CalendarControl::Recalculate()
{
    firstWeekday = DayOfWeek(date.year, date.month, 1);
    // A month outside 1..12 (a caller's mistake) has no days: an empty grid.
    daysInMonth = DaysInMonth(date.year, date.month);
}

void CalendarControl::OnCommand(WPARAM wParam, LPARAM)
{
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (code != CBN_SELCHANGE)
        return;
    if (id == kMonthSelectorId) {
        LRESULT index = SendMessageA(monthSelector.window, CB_GETCURSEL, 0, 0);
        if (index < 0 || index >= 12)
            return;
        date.month = (uint16_t)(index + 1);
    } else if (id == kYearSelectorId) {
        LRESULT index = SendMessageA(yearSelector.window, CB_GETCURSEL, 0, 0);
        if (index < 0 || index >= kYearListLength)
            return;
        date.year = (uint16_t)(index + firstYear);
    } else {
        return;
    }

    Recalculate();
    if (date.day > daysInMonth)
        date.day = (uint16_t)daysInMonth; // 31 January shown as February: its last day
    InvalidateRect(window, NULL, FALSE);
    NotifyParent(DATE_CHANGED);
}

void CalendarControl::OnLButtonDown(WPARAM, LPARAM lParam)
{
    // Anywhere on the control, as on the system's controls, so the keys
    // work on from the day just clicked.
    SetFocus(window);
    int x = (short)LOWORD(lParam);
    int y = (short)HIWORD(lParam);
    // Division truncates towards zero: without the first test the 22 pixels
    // left of the control would count as column 0.
    if (x < 0)
        return;
    int column = x / pitch;
    if (column > 6)
        return;
    int gridY = y - gridTop;
    if (gridY < 0)
        return; // the lists, the frame's top band or the header
    int day = (gridY / rowHeight) * 7 + column - firstWeekday + 1;
    if (day < 1 || day > daysInMonth)
        return; // the empty cells before day 1 and after the last day

    SelectDay(day);
    NotifyParent(DATE_CHANGED);
}

void CalendarControl::SelectDay(int day)
{
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    dayFont.Select(dc);
    if (day != date.day)
        DrawDay(dc, date.day, 0);
    date.day = (uint16_t)day;
    DrawSelectedDay(dc);
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
}

// Pitch, height and grid top are each fixed once and multiplied, as the
// clicks are divided by them: a click and its cell always agree.
RECT CalendarControl::CellOf(int day) const
{
    int position = firstWeekday + day - 1;
    int column = position % 7;
    int row = position / 7;
    RECT cell;
    cell.left = pitch * column + Scaled(kCellInset);
    cell.right = pitch * column + pitch;
    cell.top = gridTop + rowHeight * row;
    cell.bottom = cell.top + rowHeight;
    return cell;
}

void CalendarControl::DrawHeader(HDC dc, const RECT& band)
{
    if (dpi == kBaseDpi && pitch == kCellPitch) {
        RECT header = {Scaled(kCellInset), band.top, band.right, band.bottom};
        DrawTextA(dc, kWeekdayHeader, -1, &header, DT_SINGLELINE);
        return;
    }
    // One underline across the columns, as the spaces give it at 96 DPI,
    // then the letters over it.
    static const char kSpaces[] = "                                                            "
                                  "                                                            ";
    RECT line = {Scaled(kCellInset), band.top, 7 * pitch, band.bottom};
    ExtTextOutA(dc, line.left, line.top, ETO_CLIPPED, &line, kSpaces, sizeof kSpaces - 1, NULL);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    for (int column = 0; column < 7; ++column) {
        RECT letter = {pitch * column + Scaled(kCellInset), band.top, pitch * column + pitch,
                       band.bottom};
        DrawTextA(dc, &kWeekdayLetters[column], 1, &letter, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
    }
    SetBkMode(dc, oldMode);
}

void CalendarControl::DrawDay(HDC dc, int day, int selected)
{
    // Only the shown month's days have cells; anything else would be drawn
    // outside the grid.
    if (day < 1 || day > daysInMonth)
        return;
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int background = selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
    SetBkColor(dc, GetSysColor(background));

    RECT cell = CellOf(day);
    FillRect(dc, &cell, GetSysColorBrush(background));

    char text[8];
    FormatUnsigned(text, sizeof text, (unsigned long)day);
    DrawTextA(dc, text, -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// The focus rectangle inverts pixels: it is drawn only over a freshly filled
// cell, so two drawings never cancel each other out.
void CalendarControl::DrawSelectedDay(HDC dc)
{
    DrawDay(dc, date.day, 1);
    if (!focused || date.day < 1 || date.day > daysInMonth)
        return;
    // Hidden after a mouse click until a key is used, as on the system's controls.
    if (focusHidden)
        return;
    RECT cell = CellOf(date.day);
    DrawFocusRect(dc, &cell);
}

// A flag of its own rather than GetFocus, which systems differ on while the
// focus is moving.
void CalendarControl::OnSetFocus(HWND previous)
{
    focused = 1;
    int fromOutside = previous == NULL || (previous != window && !IsChild(window, previous));
    if (fromOutside && GetKeyState(VK_TAB) < 0 && GetKeyState(VK_SHIFT) < 0) {
        HWND last = IsWindowEnabled(yearSelector.window) ? yearSelector.window : monthSelector.window;
        SetFocus(last);
        return;
    }
    SelectDay(date.day);
}

void CalendarControl::OnUiStateChanged(WPARAM change)
{
    if (HIWORD(change) & UISF_HIDEFOCUS) {
        if (LOWORD(change) == UIS_SET)
            focusHidden = 1;
        else if (LOWORD(change) == UIS_CLEAR)
            focusHidden = 0;
    }
    if (focused)
        SelectDay(date.day);
}

void CalendarControl::OnKillFocus()
{
    focused = 0;
    SelectDay(date.day);
}

LRESULT CalendarControl::OnGetDlgCode(const MSG* message)
{
    if (message != NULL && message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
        GetKeyState(VK_SHIFT) >= 0)
        return DLGC_WANTARROWS | DLGC_WANTTAB;
    return DLGC_WANTARROWS;
}

void CalendarControl::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);

    SunkenFrame frame; // in the system's button colours
    // Place counts both edges: the frame spans exactly the client width.
    int frameTop = Scaled(kFrameTop);
    RECT frameRect = {0, frameTop, clientRect.right - 1, clientRect.bottom - 1};
    frame.Place(frameRect);
    frame.Draw(dc);

    int margin = Scaled(2);
    RECT grid = {margin, frameTop + margin, clientRect.right - margin, clientRect.bottom - margin};
    FillRect(dc, &grid, GetSysColorBrush(COLOR_WINDOW));

    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    headerFont.Select(dc);
    RECT band = {margin, frameTop + margin, clientRect.right - margin, gridTop};
    DrawHeader(dc, band);

    dayFont.Select(dc);
    for (int day = 1; day <= daysInMonth; ++day)
        DrawDay(dc, day, 0);
    DrawSelectedDay(dc);
    SelectObject(dc, oldFont);

    EndPaint(window, &paint);
}
