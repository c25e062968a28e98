#include "DateTime.h"

#include "BoundedString.h"

#include <limits.h>
#include <string.h>

const char* const kMonthNames[13] = {
    "", "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};
const char* const kDayNames[7] = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const int kDaysBeforeMonth[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Inlined into ParseDate, which reads three numbers for every line of the file.
static inline long ReadLeadingNumber(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
        if (value >= INT_MAX / 10 && (value > INT_MAX / 10 || digit > INT_MAX % 10))
            return negative ? INT_MIN : INT_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

long LeadingNumber(const char* text)
{
    return ReadLeadingNumber(text);
}

static inline int IsTwoDigits(const char* text)
{
    return text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9';
}

static inline uint16_t TwoDigitNumber(const char* text)
{
    return (uint16_t)((text[0] - '0') * 10 + (text[1] - '0'));
}

int ParseDate(const char* text, DateRecord* target)
{
    // MM/DD/YY and MM/DD, the forms the program writes, are read straight
    // away: the run decision reads one for every line of the file.
    if (IsTwoDigits(text) && text[2] == '/' && IsTwoDigits(text + 3) &&
        (text[5] == '\0' || (text[5] == '/' && IsTwoDigits(text + 6) && text[8] == '\0'))) {
        target->month = TwoDigitNumber(text);
        target->day = TwoDigitNumber(text + 3);
        if (text[5] == '\0') {
            // Validated as a day of 2000, a leap year, as below.
            target->year = 2000;
            int valid = IsValidDate(target);
            target->year = 0;
            return valid;
        }
        uint16_t y = TwoDigitNumber(text + 6);
        target->year = (uint16_t)(y >= 96 ? y + 1900 : y + 2000);
        return IsValidDate(target) && target->year >= kFirstAcceptedYear;
    }
    // One pass over a 20-byte work copy: '-' and ':' read as '/' up to the
    // first LF, and the first two slashes are noted on the way.
    char work[20];
    char* slash = NULL;
    char* yearSlash = NULL;
    int replacing = 1;
    size_t n = 0;
    for (; n + 1 < sizeof work && text[n] != '\0'; ++n) {
        char c = text[n];
        if (c == '\n')
            replacing = 0;
        else if (replacing && (c == '-' || c == ':'))
            c = '/';
        work[n] = c;
        if (c == '/') {
            if (slash == NULL)
                slash = work + n;
            else if (yearSlash == NULL)
                yearSlash = work + n;
        }
    }
    work[n] = '\0';

    target->month = (uint16_t)ReadLeadingNumber(work);
    if (slash == NULL)
        return 0;
    target->day = (uint16_t)ReadLeadingNumber(slash + 1);

    int yearAbsent = 0;
    if (yearSlash == NULL) {
        // Validated as a day of 2000, a leap year, so 02/29 stays a valid annual date.
        target->year = 2000;
        yearAbsent = 1;
    } else {
        uint16_t y = (uint16_t)ReadLeadingNumber(yearSlash + 1);
        target->year = (uint16_t)(y >= 96 && y <= 99 ? y + 1900 : y + 2000);
    }

    int valid = IsValidDate(target) && target->year >= kFirstAcceptedYear;
    if (yearAbsent)
        target->year = 0;
    return valid;
}

int ParseTime(const char* text, DateRecord* target, int twelveHour)
{
    target->timeValid = 0;
    if (text[0] == '\0')
        return 1;

    target->hour = (uint16_t)LeadingNumber(text);
    const char* separator = strpbrk(text, ":-");
    if (separator == NULL)
        return 0;
    const char* minuteText = separator + 1;
    target->minute = (uint16_t)LeadingNumber(minuteText);

    if (twelveHour) {
        for (const char* p = minuteText; *p != '\0'; ++p) {
            if (p[0] != ' ' || (p[1] != 'A' && p[1] != 'P'))
                continue;
            if (p[1] == 'A' && target->hour == 12)
                target->hour = 0;
            else if (p[1] == 'P' && target->hour < 12)
                target->hour = (uint16_t)(target->hour + 12);
            break;
        }
    }

    target->second = 0;
    if (target->hour > 23 || target->minute > 59)
        return 0;
    target->timeValid = 1;
    return 1;
}

char* TwoDigits(unsigned value, char* position)
{
    char* p = position;
    if (value <= 9)
        *p++ = '0';
    FormatUnsigned(p, 6, value);
    return position + 2;
}

// The pieces are laid out in a scratch buffer roomy enough for any 16-bit
// field, then cut to the caller's field: absurd hand-typed numbers must not
// reach past a record's 10-byte date or 12-byte key.
void FormatDate(const DateRecord* date, char* out, size_t outSize)
{
    char scratch[32];
    char* p = TwoDigits(date->month, scratch);
    *p++ = '/';
    p = TwoDigits(date->day, p);
    *p++ = '/';
    TwoDigits(date->year % 100u, p);
    CopyText(out, outSize, scratch);
}

void FormatTime12(const DateRecord* date, char* out, size_t outSize)
{
    unsigned hour = date->hour;
    unsigned shown = hour == 0 ? 12 : (hour <= 12 ? hour : hour - 12);
    char scratch[32];
    char* p = TwoDigits(shown, scratch);
    *p++ = ':';
    p = TwoDigits(date->minute, p);
    *p++ = ' ';
    *p++ = hour <= 11 ? 'A' : 'P';
    *p++ = 'M';
    *p = '\0';
    CopyText(out, outSize, scratch);
}

void FormatTime24(const DateRecord* date, char* out, size_t outSize)
{
    char scratch[32];
    char* p = TwoDigits(date->hour, scratch);
    *p++ = ':';
    TwoDigits(date->minute, p);
    CopyText(out, outSize, scratch);
}

void MakeSortKey(const DateRecord* date, char* out, size_t outSize)
{
    char scratch[32];
    FormatUnsigned(scratch, 8, date->year);
    char* p = scratch + strlen(scratch);
    p = TwoDigits(date->month, p);
    TwoDigits(date->day, p);
    CopyText(out, outSize, scratch);
}

int IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int IsValidDate(const DateRecord* date)
{
    if (date->year < kFirstValidYear || date->year > kLastValidYear)
        return 0;
    return date->day >= 1 && date->day <= DaysInMonth(date->year, date->month);
}

int DaysInMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDaysInMonth[month];
}

int DayOfWeek(int year, int month, int day)
{
    int k = month < 3 ? 1 : 0;
    long w = 3L * year + day + 23L * month / 9 + ((year - k) / 100 + 1) * 3L / 4
             - (year + (month + 9) / 12) * 7L / 4 - 13;
    // Positive for every valid date; kept in 0..6 for the absurd dates a
    // hand-edited file can hold, since the result indexes the day names.
    long r = w % 7;
    return (int)(r < 0 ? r + 7 : r);
}

// Leap years among 1 .. year-1, for year >= 1.
static long LeapYearsBefore(unsigned year)
{
    unsigned y = year - 1;
    return (long)(y / 4 - y / 100 + y / 400);
}

long DayNumber(const DateRecord* date, int baseYear)
{
    long days = 0;
    if (baseYear >= 1 && date->year > baseYear) {
        days = 365L * (date->year - baseYear) + LeapYearsBefore(date->year) -
               LeapYearsBefore((unsigned)baseYear);
    }
    if (date->month >= 1 && date->month <= 12)
        days += kDaysBeforeMonth[date->month];
    days += (long)date->day - 1;
    if (date->month > 2 && IsLeapYear(date->year))
        days += 1;
    return days;
}

// A 29 February in a year without one: the day it falls on is 1 March.
static int IsLeapDayOfCommonYear(int year, int month, int day)
{
    return month == 2 && day == 29 && !IsLeapYear(year);
}

int ResolveAnnualYear(DateRecord* work, const DateRecord* today)
{
    if (work->year != 0)
        return 0;
    int month = work->month, day = work->day;
    // A leap-day birthday is due on 1 March of a common year, on that day too.
    if (IsLeapDayOfCommonYear(today->year, month, day)) {
        month = 3;
        day = 1;
    }
    int beforeToday = month < today->month || (month == today->month && day < today->day);
    work->year = (uint16_t)(today->year + (beforeToday ? 1 : 0));
    return 1;
}

int IsToday(const DateRecord* work, const DateRecord* today)
{
    if (work->year != today->year)
        return 0;
    if (IsLeapDayOfCommonYear(work->year, work->month, work->day))
        return today->month == 3 && today->day == 1;
    return work->month == today->month && work->day == today->day;
}

void MakeMissedSpan(unsigned long lastShownStamp, const DateRecord* today, MissedSpan* span)
{
    span->end = DayNumber(today, kDayNumberBase);
    span->first = span->oneOffFirst = span->end;
    span->oneOffFirstYear = today->year;
    DateRecord lastShown = {};
    lastShown.year = (uint16_t)(lastShownStamp / 10000 <= 0xFFFF ? lastShownStamp / 10000 : 0);
    lastShown.month = (uint16_t)(lastShownStamp / 100 % 100);
    lastShown.day = (uint16_t)(lastShownStamp % 100);
    if (!IsValidDate(&lastShown))
        return;
    long first = DayNumber(&lastShown, kDayNumberBase) + 1;
    // Shown "after today": the clock was ahead then. Looking back a month
    // again repeats a few reminders rather than losing any.
    if (first > span->end + 1) {
        first = span->end - kMissedDays;
        span->oneOffFirstYear = today->year - 1;
    } else {
        span->oneOffFirstYear = lastShown.year;
    }
    if (first < span->end)
        span->oneOffFirst = first;
    if (first < span->end - kMissedDays)
        first = span->end - kMissedDays;
    if (first < span->end)
        span->first = first;
}

int FindMissedOccurrence(const DateRecord* annual, const MissedSpan* span, const DateRecord* today,
                         DateRecord* missedOn)
{
    if (span->first >= span->end)
        return 0;
    // A span of at most 31 days holds at most one occurrence: this year's,
    // or last year's in January.
    for (int back = 0; back <= 1; ++back) {
        DateRecord day = *annual;
        day.year = (uint16_t)(today->year - back);
        if (IsLeapDayOfCommonYear(day.year, day.month, day.day)) {
            day.month = 3;
            day.day = 1;
        }
        long number = DayNumber(&day, kDayNumberBase);
        if (number >= span->first && number < span->end) {
            *missedOn = day;
            return 1;
        }
    }
    return 0;
}
