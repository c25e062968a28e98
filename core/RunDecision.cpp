// Whether a start from the Windows start-up list opens the window at all.
#include "Application.h"
#include "EntryReader.h"
#include "QuietScan.h"
#include "ShowError.h"

int Application::ReadEntryLine(char* date, char* time, char* text)
{
    return ::ReadEntryLine(&parseCursor, textBuffer + textBufferSize, date, time, text);
}

int Application::HeldBackToday()
{
    if (!RunOnce)
        return 0;
    return RunDate != 0 ? RunDate == DateStamp(&today) : RunDay == today.day;
}

long Application::LastJudgedDay()
{
    // A Range of billions reaches no day a date can name.
    long long last = (long long)MissedDays().end + Range;
    return last < kNoDay ? (long)last : kNoDay - 1;
}

int Application::ShouldShowWindow()
{
    alertScanned = 0;
    if (!reminderMode)
        return 1;
    if (HeldBackToday())
        return 0;
    if (AlwaysRun)
        return 1;
    return ScanForDueReminders();
}

int Application::ScanForDueReminders()
{
    char date[kDateTokenSize];
    char time[kTimeTokenSize];
    parseCursor = textBuffer;
    // The next timed reminder comes with the same pass: the alert task is
    // moved only when it changed, so a start that shows nothing stays cheap.
    StartAlertScan(&alertScan, MinuteOf(&today));
    alertScanned = 1;
    badDates = 0;
    // The first day after those judged on which a reminder falls: until
    // then, a file found quiet stays quiet.
    const long lastDay = LastJudgedDay();
    quietNextDay = kNoDay;
    // Only the dates matter here, so the texts are not copied.
    while (ReadEntryLine(date, time, NULL)) {
        scannedAhead = 0;
        int state = DueState(date, NULL, NULL);
        if (scannedAhead) {
            if (Alerts)
                NoteTimedReminder(&alertScan, &scannedDate, time);
            long day = NextDayAfter(&scannedDate, lastDay);
            if (day < quietNextDay)
                quietNextDay = day;
        }
        if (state != kNotDue) {
            if (Alerts)
                ScanRestForAlerts();
            return 1;
        }
    }
    return 0;
}

int Application::IsWithinRange(const char* dateText, const char* detail)
{
    return DueState(dateText, detail, NULL) == kInRange;
}

int Application::DueState(const char* dateText, const char* detail, DateRecord* missedOn)
{
    if (!ParseDate(dateText, &workDate)) {
        ++badDates;
        ShowError("Invalidate date", detail != NULL ? detail : dateText);
        return kNotDue;
    }
    const MissedSpan& span = MissedDays();
    const long todayNumber = span.end;
    // The computer may have been off, or the user logged on only days
    // later: a day that passed since the due reminders were last shown
    // still has its reminder shown.
    DateRecord missed;
    if (workDate.year != 0) {
        // Most of a long file: one-off reminders of years gone by.
        if (workDate.year < span.oneOffFirstYear)
            return kNotDue;
        long number = DayNumber(&workDate, kDayNumberBase);
        if (number >= span.oneOffFirst && number < todayNumber) {
            if (missedOn != NULL)
                *missedOn = workDate;
            return kMissed;
        }
        long d = number - todayNumber;
        // Only a day still ahead can hold an alert; most of a long file is
        // days gone by.
        if (d >= 0) {
            scannedDate = workDate;
            scannedAhead = 1;
        }
        return d >= 0 && d <= Range ? kInRange : kNotDue;
    }
    scannedDate = workDate;
    scannedAhead = 1;
    if (FindMissedOccurrence(&workDate, &span, &today, &missed)) {
        if (missedOn != NULL)
            *missedOn = missed;
        return kMissed;
    }
    // An annual date counts at its next occurrence, as the list shows it:
    // on 30 December a 2 January is three days ahead, not a year behind.
    ResolveAnnualYear(&workDate, &today);
    long d = DayNumber(&workDate, kDayNumberBase) - todayNumber;
    return d >= 0 && d <= Range ? kInRange : kNotDue;
}

const MissedSpan& Application::MissedDays()
{
    // Worked out once for each last shown day and today, not for every line
    // of a file that may hold a hundred thousand.
    unsigned todayStamp = DateStamp(&today);
    if (missedSpanShownDate != ShownDate || missedSpanToday != todayStamp) {
        MakeMissedSpan(ShownDate, &today, &missedSpan);
        missedSpanShownDate = ShownDate;
        missedSpanToday = todayStamp;
    }
    return missedSpan;
}
