// The calendar's keys: the arrows move the selected day by a day or a week,
// Page Up and Page Down by a month, Home and End to the month's ends. The
// month and year follow, in the lists as in the grid.
#include "CalendarControl.h"

#include "../resources/resource.h"

// A locked year is the reminder's every year: the months wrap around within it.
static void StepMonths(DateRecord& date, int months, int yearLocked)
{
    int month = date.month + months;
    int year = date.year;
    while (month < 1) {
        month += 12;
        year -= 1;
    }
    while (month > 12) {
        month -= 12;
        year += 1;
    }
    date.month = (uint16_t)month;
    if (!yearLocked)
        date.year = (uint16_t)year;
}

static void StepDays(DateRecord& date, int days, int yearLocked)
{
    int day = date.day + days;
    while (day < 1) {
        StepMonths(date, -1, yearLocked);
        day += DaysInMonth(date.year, date.month);
    }
    while (day > DaysInMonth(date.year, date.month)) {
        day -= DaysInMonth(date.year, date.month);
        StepMonths(date, 1, yearLocked);
    }
    date.day = (uint16_t)day;
}

int CalendarControl::KeyTarget(int key, DateRecord& target) const
{
    int days = 0, months = 0, monthEnd = 0;
    switch (key) {
    case VK_LEFT: days = -1; break;
    case VK_RIGHT: days = 1; break;
    case VK_UP: days = -7; break;
    case VK_DOWN: days = 7; break;
    case VK_PRIOR: months = -1; break;
    case VK_NEXT: months = 1; break;
    case VK_HOME: monthEnd = -1; break;
    case VK_END: monthEnd = 1; break;
    default: return 0;
    }
    target = date;
    // Only a date the grid shows can be moved from: a caller's nonsense date
    // takes the keys and stays as it is.
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > daysInMonth)
        return 1;
    // The year list is disabled exactly while the year is locked.
    int yearLocked = !IsWindowEnabled(yearSelector.window);
    if (days != 0) {
        StepDays(target, days, yearLocked);
    } else if (months != 0) {
        StepMonths(target, months, yearLocked);
        int length = DaysInMonth(target.year, target.month);
        if (target.day > length)
            target.day = (uint16_t)length; // 31 March to April: the 30th
    } else {
        target.day = (uint16_t)(monthEnd < 0 ? 1 : daysInMonth);
    }
    if (target.year < firstYear || target.year >= firstYear + kYearListLength)
        target = date;
    return 1;
}

int CalendarControl::OnKeyDown(WPARAM key)
{
    if (key == VK_TAB) {
        // Into the month list, as the dialog would move the focus.
        SendMessageA(GetParent(window), WM_NEXTDLGCTL, (WPARAM)monthSelector.window, TRUE);
        if (GetFocus() != monthSelector.window)
            SetFocus(monthSelector.window);
        return 1;
    }
    DateRecord target;
    if (!KeyTarget((int)key, target))
        return 0;
    // The keys are in use: the focus rectangle shows from now on, here and
    // in the rest of the dialog.
    focusHidden = 0;
    SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    MoveTo(target);
    return 1;
}

void CalendarControl::MoveTo(const DateRecord& target)
{
    if (target.year == date.year && target.month == date.month) {
        if (target.day == date.day)
            return; // at the edge already: nothing to tell
        SelectDay(target.day);
    } else {
        date.year = target.year;
        date.month = target.month;
        date.day = target.day;
        Recalculate();
        // Setting a list's selection sends no CBN_SELCHANGE, so the change
        // is told to the parent once, below.
        SendMessageA(monthSelector.window, CB_SETCURSEL, (WPARAM)(date.month - 1), 0);
        SendMessageA(yearSelector.window, CB_SETCURSEL, (WPARAM)(date.year - firstYear), 0);
        // Only the grid changes; the frame, the header and the lists stay.
        RECT grid = {Scaled(2), gridTop, clientRect.right - Scaled(2),
                     clientRect.bottom - Scaled(2)};
        InvalidateRect(window, &grid, FALSE);
    }
    NotifyParent(DATE_CHANGED);
}
