#include "ReminderDialog.h"

#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/EntryTable.h"
#include "../core/ShowError.h"
#include "../framework/CentreWindow.h"
#include "../resources/resource.h"

ReminderDialog::ReminderDialog() : isAdd(1), askTime(0), date(NULL), calendar(IDC_CALENDAR) {}

int NextLeapYear(int year)
{
    while (!IsLeapYear(year))
        ++year;
    return year;
}

int RunReminderDialog(HWND owner, int isAdd, int askTime, DateRecord* date)
{
    reminderDialog.isAdd = isAdd;
    reminderDialog.askTime = askTime;
    reminderDialog.date = date;
    return (int)DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_REMINDER), owner,
                                SharedDialogProc, (LPARAM)&reminderDialog);
}

static int IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ReminderDialog::OnInitDialog()
{
    DateRecord shown;
    GetLocalTime((SYSTEMTIME*)&shown);
    SetWindowTextA(window, isAdd ? "Add" : "Edit");
    for (int i = 0; i < 12; ++i) {
        char number[4];
        FormatUnsigned(number, sizeof number, (unsigned long)(i + 1));
        SendDlgItemMessageA(window, IDC_HOUR, CB_ADDSTRING, 0, (LPARAM)number);
        FormatUnsigned(number, sizeof number, (unsigned long)(i * 5));
        SendDlgItemMessageA(window, IDC_MINUTE, CB_ADDSTRING, 0, (LPARAM)number);
    }

    shown.year = date->year;
    shown.month = date->month;
    shown.day = date->day;
    calendar.SetDate(shown);

    if (workEntry.annual)
        CheckDlgButton(window, IDC_EVERY_YEAR, BST_CHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_EVERY_YEAR, 0), 0);
    if ((isAdd && askTime) || (!isAdd && workEntry.hasTime))
        CheckDlgButton(window, IDC_INCLUDE_TIME, BST_CHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_INCLUDE_TIME, 0), 0);

    int hour = date->hour;
    int shownHour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
    CheckRadioButton(window, IDC_AM, IDC_PM, hour >= 12 ? IDC_PM : IDC_AM);
    SendDlgItemMessageA(window, IDC_HOUR, CB_SETCURSEL, (WPARAM)(shownHour - 1), 0);
    SendDlgItemMessageA(window, IDC_MINUTE, CB_SETCURSEL, (WPARAM)(date->minute / 5), 0);

    SendDlgItemMessageA(window, IDC_REMINDER_TEXT, EM_LIMITTEXT, 80, 0);
    SetDlgItemTextA(window, IDC_REMINDER_TEXT, workEntry.text);
    CentreWindow(window);
}

void ReminderDialog::EnableTime()
{
    BOOL enable = IsChecked(window, IDC_INCLUDE_TIME);
    const int ids[] = {IDC_HOUR, IDC_MINUTE, IDC_AM, IDC_PM};
    for (int id : ids)
        EnableWindow(GetDlgItem(window, id), enable);
}

void ReminderDialog::OnOk()
{
    DateRecord picked;
    calendar.GetDate(picked);
    date->month = picked.month;
    date->day = picked.day;
    int annual = IsChecked(window, IDC_EVERY_YEAR);
    if (annual) {
        date->year = 0;
        ResolveAnnualYear(date, &today);
    } else {
        date->year = picked.year;
    }
    workEntry.annual = annual ? 1 : 0;
    workEntry.isToday = IsToday(date, &today);

    char dateText[10];
    FormatDate(date, dateText, sizeof dateText);
    // An annual reminder is stored as month and day only, and judged as that:
    // its resolved year may lack a 29 February that the date has every leap year.
    DateRecord readBack = *date;
    char checked[10];
    CopyTextN(checked, sizeof checked, dateText, annual ? 5 : sizeof dateText);
    if (!ParseDate(checked, &readBack)) {
        ShowError("Invalidate date", dateText);
        return;
    }
    if (!annual)
        *date = readBack;
    workEntry.dayOfWeek = (uint32_t)DayOfWeek(date->year, date->month, date->day);
    CopyText(workEntry.dateText, sizeof workEntry.dateText, dateText);
    MakeSortKey(date, workEntry.sortKey, sizeof workEntry.sortKey);

    if (IsChecked(window, IDC_INCLUDE_TIME)) {
        int hour = (int)SendDlgItemMessageA(window, IDC_HOUR, CB_GETCURSEL, 0, 0) + 1;
        if (IsChecked(window, IDC_AM) && hour == 12)
            hour = 0;
        else if (IsChecked(window, IDC_PM) && hour < 12)
            hour += 12;
        int minute = (int)SendDlgItemMessageA(window, IDC_MINUTE, CB_GETCURSEL, 0, 0) * 5;
        date->hour = (uint16_t)(hour < 0 ? 0 : hour);
        date->minute = (uint16_t)(minute < 0 ? 0 : minute);
        FormatTime12(date, workEntry.timeText, sizeof workEntry.timeText);
        workEntry.hasTime = 1;
    } else {
        workEntry.hasTime = 0;
    }

    // The limit of 80 holds only for typing: a text set from a hand-written
    // file can be up to 83 characters, and editing the date must not cut it.
    char typed[sizeof workEntry.text];
    GetDlgItemTextA(window, IDC_REMINDER_TEXT, typed, sizeof typed);
    // The file cannot keep blanks before a text (its reader passes over
    // them), so they are not kept here either: the list shows what the next
    // start reads back, and a text of blanks alone is no reminder.
    const char* start = typed;
    while (*start == ' ' || *start == '\t')
        ++start;
    CopyText(workEntry.text, sizeof workEntry.text, start);
    if (workEntry.text[0] == '\0') {
        ShowError("You must have a reminder", "");
        return;
    }
    workEntry.removed = 0;
    EndDialog(window, 1);
}

INT_PTR ReminderDialog::DialogProc(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        // The keyboard cues start as the system's setting has them (hidden
        // unless always shown), as Windows starts a dialog opened by mouse;
        // the first Tab or arrow shows them.
        SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_EVERY_YEAR:
        if (HIWORD(wParam) == BN_CLICKED)
            calendar.SetYearLocked(IsChecked(window, IDC_EVERY_YEAR));
        return TRUE;
    case IDC_INCLUDE_TIME:
        EnableTime();
        return TRUE;
    case IDCANCEL:
        EndDialog(window, 0);
        return TRUE;
    case IDOK:
        OnOk();
        return TRUE;
    default:
        return FALSE;
    }
}
