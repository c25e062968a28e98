#include "NextAlert.h"

#include "EntryReader.h"

static const AlertMinute kMinutesPerDay = 24 * 60;

AlertMinute MinuteOf(const DateRecord* date)
{
    return (AlertMinute)DayNumber(date, kDayNumberBase) * kMinutesPerDay + date->hour * 60u +
           date->minute;
}

void DateOfMinute(AlertMinute minute, DateRecord* out)
{
    long days = (long)(minute / kMinutesPerDay);
    DateRecord date = {};
    // Straight to the year, or the one before it, rather than year by year
    // from 1980: the run decision asks this for every timed annual reminder.
    date.year = (uint16_t)(kDayNumberBase + days / 366);
    date.month = 1;
    date.day = 1;
    days -= DayNumber(&date, kDayNumberBase);
    while (days >= (IsLeapYear(date.year) ? 366 : 365)) {
        days -= IsLeapYear(date.year) ? 366 : 365;
        ++date.year;
    }
    date.month = 1;
    while (days >= DaysInMonth(date.year, date.month)) {
        days -= DaysInMonth(date.year, date.month);
        ++date.month;
    }
    date.day = (uint16_t)(days + 1);
    date.dayOfWeek = (uint16_t)DayOfWeek(date.year, date.month, date.day);
    date.hour = (uint16_t)(minute % kMinutesPerDay / 60);
    date.minute = (uint16_t)(minute % 60);
    date.timeValid = 1;
    *out = date;
}

// The occurrence of date in year at the time of 'time'; 0 when there is none.
static AlertMinute OccurrenceInYear(const DateRecord* date, const DateRecord* time, int year)
{
    DateRecord at = *date;
    if (date->year != 0 && date->year != year)
        return 0;
    at.year = (uint16_t)year;
    if (date->year == 0 && date->month == 2 && date->day == 29 && !IsLeapYear(year)) {
        at.month = 3;
        at.day = 1;
    }
    if (at.year < kDayNumberBase || !IsValidDate(&at))
        return 0;
    at.hour = time->hour;
    at.minute = time->minute;
    return MinuteOf(&at);
}

static int ReadTime(const char* token, DateRecord* time)
{
    return token != nullptr && token[0] != '\0' && ParseFileTime(token, time) && time->timeValid;
}

// Years around minute's that an annual reminder may fall in.
static int YearOf(AlertMinute minute)
{
    DateRecord date;
    DateOfMinute(minute, &date);
    return date.year;
}

AlertMinute OccurrenceAfter(const DateRecord* date, const char* timeToken, AlertMinute after)
{
    DateRecord time = {};
    if (!ReadTime(timeToken, &time))
        return 0;
    if (date->year != 0) {
        AlertMinute at = OccurrenceInYear(date, &time, date->year);
        return at > after ? at : 0;
    }
    int year = YearOf(after);
    for (int y = year; y <= year + 1; ++y) {
        AlertMinute at = OccurrenceInYear(date, &time, y);
        if (at > after)
            return at;
    }
    return 0;
}

AlertMinute LatestOccurrenceIn(const DateRecord* date, const char* timeToken, AlertMinute from,
                               AlertMinute to)
{
    DateRecord time = {};
    if (!ReadTime(timeToken, &time))
        return 0;
    int year = YearOf(to);
    for (int y = year; y >= year - 1; --y) {
        AlertMinute at = OccurrenceInYear(date, &time, date->year != 0 ? date->year : y);
        if (at > from && at <= to)
            return at;
        if (date->year != 0)
            break;
    }
    return 0;
}

void StartAlertScan(NextAlertScan* scan, AlertMinute now)
{
    scan->now = now;
    scan->next = 0;
}

void NoteTimedReminder(NextAlertScan* scan, const DateRecord* date, const char* timeToken)
{
    if (timeToken[0] == '\0')
        return;
    // Most of a long file is reminders of years gone by: their day alone
    // rules them out.
    if (date->year != 0 &&
        ((AlertMinute)DayNumber(date, kDayNumberBase) + 1) * kMinutesPerDay <= scan->now)
        return;
    AlertMinute at = OccurrenceAfter(date, timeToken, scan->now);
    if (at != 0 && (scan->next == 0 || at < scan->next))
        scan->next = at;
}

AlertMinute NextAlertTime(const NextAlertScan* scan, const AlertState* state)
{
    if (!state->on)
        return 0;
    AlertMinute next = scan->next;
    // A snooze whose time has come already is shown by the next alert start,
    // which the scheduler makes at once.
    if (state->snoozeUntil != 0 && (next == 0 || state->snoozeUntil < next))
        next = state->snoozeUntil;
    return next;
}

int IsDueForAlert(const DateRecord* date, const char* timeToken, const AlertState* state,
                  AlertMinute now, AlertMinute* when)
{
    AlertMinute from = now > kAlertLookBack ? now - kAlertLookBack : 0;
    if (state->shown > from)
        from = state->shown;
    AlertMinute at = LatestOccurrenceIn(date, timeToken, from, now);
    if (at == 0 && state->snoozeUntil != 0 && state->snoozeUntil <= now &&
        state->snoozeFrom != 0) {
        at = LatestOccurrenceIn(date, timeToken, state->snoozeFrom - 1, state->snoozeTo);
    }
    *when = at;
    return at != 0;
}
