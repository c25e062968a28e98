// The month calendar of the reminder dialog: month and year lists at the top,
// a weekday header and a day grid below them; a click or, while the control
// has the focus, the arrows, Page Up and Down, Home and End pick the day.
#pragma once

#include "../core/DateTime.h"
#include "../framework/ControlObject.h"
#include "CustomControl.h"
#include "FontSpec.h"

const int kMonthSelectorId = 53700;
const int kYearSelectorId = 53701;
const int kYearListLength = 10;
const int kYearsBeforeLoaded = 2; // the loaded year is the list's third entry

// The grid's layout in the control's client area, in pixels at 96 DPI; drawn
// and hit-tested at the control's DPI. A box too small for the grid at its
// scale (dialog units follow the dialog font, not the DPI) gets narrower
// columns or lower rows, so that the sixth week always shows.
const int kCellPitch = 23;    // a column starts every 23 pixels
const int kCellInset = 4;     // blank pixels left of each cell
const int kCellHeight = 16;
const int kGridTop = 48;      // the first row, below the lists and the header
const int kFrameTop = 32;

class CalendarControl : public CustomControl {
public:
    explicit CalendarControl(int id);

    int RegisterWindowClass() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnCreate(HWND newWindow) override;
    void OnDestroy() override;
    void OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    // From outside by Shift+Tab, the focus goes on to the last list, as the
    // lists come after the grid in the order of the keys.
    void OnSetFocus(HWND previous) override;
    void OnKillFocus() override;
    void OnSize(WPARAM wParam, LPARAM lParam) override;
    // New fonts, lists and grid for the DPI the dialog moved to.
    void OnDpiChanged() override;
    // The arrows, and Tab, which leads on to the month list; the dialog
    // passes the other keys on by itself.
    LRESULT OnGetDlgCode(const MSG* message) override;
    // The focus rectangle follows the keyboard cues.
    void OnUiStateChanged(WPARAM change) override;
    int OnKeyDown(WPARAM key) override;

    // Once per window, after it exists: loads the date and fills the lists
    // with the month names and the years from two before it. Callers give a
    // valid date; the other fields are kept for GetDate.
    void SetDate(const DateRecord& newDate);
    void GetDate(DateRecord& out) const;
    // Non-zero disables the year list, so only month and day can change.
    void SetYearLocked(int locked);

    // The first weekday and the length of the shown month.
    void Recalculate();
    // length, given at 96 DPI, at the control's DPI.
    int Scaled(int length) const;
    // The column pitch, row height and grid top for the client area and DPI.
    void FitGrid();
    // The cell of day in the shown month, at the control's DPI.
    RECT CellOf(int day) const;
    // The weekday letters, each centred over its column.
    void DrawHeader(HDC dc, const RECT& band);
    // Makes the fonts for the control's DPI and puts the lists in place.
    void MakeFontsAndLists();
    // Draws one day cell; days outside the shown month draw nothing.
    void DrawDay(HDC dc, int day, int selected);
    // The selected day, with the focus rectangle while the control has the
    // focus and the keyboard cues are shown.
    void DrawSelectedDay(HDC dc);
    // Redraws the old and the new selected day, on the window's own DC.
    void SelectDay(int day);
    // The date a key leads to: year and month follow the day, a locked year
    // wraps within itself, and a move out of the listed years stays put.
    // Zero for a key the calendar does not take.
    int KeyTarget(int key, DateRecord& target) const;
    // Shows target, which must lie in the listed years, and notifies the parent.
    void MoveTo(const DateRecord& target);

    int firstWeekday;
    int daysInMonth;
    int firstYear;
    RECT clientRect;
    ComboControl monthSelector;
    ComboControl yearSelector;
    FontSpec dayFont;
    FontSpec headerFont;
    DateRecord date;
    int focused; // between WM_SETFOCUS and WM_KILLFOCUS
    // Kept here as well as by the system, which not every system keeps.
    int focusHidden;
    int dpi;
    // Of the grid as it is drawn, in pixels (FitGrid).
    int pitch;
    int rowHeight;
    int gridTop;
};
