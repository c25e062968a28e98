// Calendar arithmetic and the fixed text forms of dates and times.
// Kept free of <windows.h> so it builds natively under sanitizers and fuzzers.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Same eight 16-bit fields, in the same order, as the platform's SYSTEMTIME,
// so GetLocalTime can fill one directly. The millisecond slot carries timeValid.
struct DateRecord {
    uint16_t year;      // 0 = no year given (an annual date)
    uint16_t month;     // 1..12
    uint16_t dayOfWeek; // 0 = Sunday; only GetLocalTime fills it
    uint16_t day;       // 1..31
    uint16_t hour;      // 0..23
    uint16_t minute;    // 0..59
    uint16_t second;
    uint16_t timeValid; // 1 when ParseTime accepted a time
};
static_assert(sizeof(DateRecord) == 16, "DateRecord must overlay SYSTEMTIME");

extern const char* const kMonthNames[13]; // index 1..12
extern const char* const kDayNames[7];    // index 0..6, 0 = Sunday
extern const int kDaysInMonth[13];        // index 1..12, February 28
extern const int kDaysBeforeMonth[13];    // index 1..12

const int kFirstValidYear = 1980;
const int kLastValidYear = 2050;
const int kFirstAcceptedYear = 1998; // the oldest year a date text may name
const int kDayNumberBase = 1980;

// Leading decimal number as the C runtime's atoi reads it (blanks, a sign,
// digits), saturated instead of overflowing on a long run of digits.
long LeadingNumber(const char* text);

int ParseDate(const char* text, DateRecord* target);
int ParseTime(const char* text, DateRecord* target, int twelveHour);

// Output buffers: dateText and timeText hold 10 bytes, sort keys 12.
// Each writes at most outSize bytes, NUL included.
void FormatDate(const DateRecord* date, char* out, size_t outSize);
void FormatTime12(const DateRecord* date, char* out, size_t outSize);
void FormatTime24(const DateRecord* date, char* out, size_t outSize);
void MakeSortKey(const DateRecord* date, char* out, size_t outSize);

// Writes value with a leading '0' below 10 and returns the position two
// characters on; a value of 100 or more prints all its digits, and the next
// piece then overwrites the ones past the second. The caller leaves room for 6.
char* TwoDigits(unsigned value, char* position);

int IsLeapYear(int year);
int IsValidDate(const DateRecord* date);
// Days in month of year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
int DayOfWeek(int year, int month, int day);
long DayNumber(const DateRecord* date, int baseYear);

// Gives a yearless work date the year of its next occurrence on or after today.
int ResolveAnnualYear(DateRecord* work, const DateRecord* today);
int IsToday(const DateRecord* work, const DateRecord* today);

// How far back an annual reminder that fell due while nobody looked is
// still shown (a one-off one is shown however long ago it fell due).
const int kMissedDays = 31;

// The days on which a reminder counts as missed, as day numbers from
// kDayNumberBase: from first (annual dates) or oneOffFirst (one-off dates)
// up to, not including, end.
struct MissedSpan {
    long first;
    long oneOffFirst;
    long end;
    // No later than oneOffFirst's year: a one-off date of an earlier year
    // is neither missed nor ahead, known without counting its days.
    int oneOffFirstYear;
};

// The span after the last day the due reminders were shown (stored as
// YYYYMMDD) and before today; for annual dates at most kMissedDays back.
// A stamp after today (a clock that was ahead) counts as kMissedDays back,
// for both kinds. Empty (first == oneOffFirst == end) when the stamp is no
// valid date or leaves no day between.
void MakeMissedSpan(unsigned long lastShownStamp, const DateRecord* today, MissedSpan* span);

// The occurrence in span of an annual date (year 0; a 29 February of a
// common year falls on 1 March): 1 with that day in missedOn, 0 when there
// is none. A one-off date is missed when its own day number lies in span.
int FindMissedOccurrence(const DateRecord* annual, const MissedSpan* span, const DateRecord* today,
                         DateRecord* missedOn);
