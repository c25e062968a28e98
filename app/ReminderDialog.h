// The dialog in which a reminder is added or changed.
#pragma once

#include "../controls/CalendarControl.h"
#include "../core/DateTime.h"
#include "../framework/WindowObject.h"

class ReminderDialog : public DialogObject {
public:
    ReminderDialog();

    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int isAdd;
    int askTime;
    DateRecord* date;
    CalendarControl calendar;

private:
    void OnInitDialog();
    void OnOk();
    void EnableTime();
};

extern ReminderDialog reminderDialog;

// Runs the dialog over owner on date (the work date): 1 after OK, which has
// filled workEntry; 0 after Cancel, -1 when the dialog could not be made.
int RunReminderDialog(HWND owner, int isAdd, int askTime, DateRecord* date);

// The year of the next 29 February on or after year: an annual leap-day
// reminder is shown and edited on a day that exists.
int NextLeapYear(int year);
