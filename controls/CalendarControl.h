// The month calendar of the reminder dialog: month and year lists at the top,
// a weekday header and a day grid below them; a click picks the day.
#pragma once

#include "../core/DateTime.h"
#include "../framework/ControlObject.h"
#include "CustomControl.h"
#include "FontSpec.h"

const int kMonthSelectorId = 53700;
const int kYearSelectorId = 53701;
const int kYearListLength = 10;
const int kYearsBeforeLoaded = 2; // the loaded year is the list's third entry

// The grid's fixed pixel layout in the control's client area, whatever size
// the control has.
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

    // Once per window, after it exists: loads the date and fills the lists
    // with the month names and the years from two before it. Callers give a
    // valid date; the other fields are kept for GetDate.
    void SetDate(const DateRecord& newDate);
    void GetDate(DateRecord& out) const;
    // Non-zero disables the year list, so only month and day can change.
    void SetYearLocked(int locked);

    // The first weekday and the length of the shown month.
    void Recalculate();
    // Draws one day cell; days outside the shown month draw nothing.
    void DrawDay(HDC dc, int day, int selected);

    int firstWeekday;
    int daysInMonth;
    int firstYear;
    RECT clientRect;
    ComboControl monthSelector;
    ComboControl yearSelector;
    FontSpec dayFont;
    FontSpec headerFont;
    DateRecord date;
};
