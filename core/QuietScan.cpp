#include "QuietScan.h"

#include <string.h>

unsigned long long TextFingerprint(const char* text, size_t size)
{
    // Two lanes, so that the multiplications of one need not wait for the
    // other's; the size goes in too, so texts of other lengths differ.
    const unsigned long long prime = 0x100000001B3ULL;
    unsigned long long a = 0xCBF29CE484222325ULL ^ size, b = 0x84222325CBF29CE4ULL;
    size_t i = 0;
    for (; i + 16 <= size; i += 16) {
        unsigned long long x, y;
        memcpy(&x, text + i, 8);
        memcpy(&y, text + i + 8, 8);
        a = (a ^ x) * prime;
        b = (b ^ y) * prime;
    }
    for (; i < size; ++i)
        a = (a ^ (unsigned char)text[i]) * prime;
    return a ^ (b * 0x9E3779B97F4A7C15ULL);
}

long NextDayAfter(const DateRecord* date, long after)
{
    if (date->year != 0) {
        long day = DayNumber(date, kDayNumberBase);
        return day > after ? day : kNoDay;
    }
    // From the year 'after' falls in, or the one before it; the next
    // occurrence lies at most two years on.
    int year = kDayNumberBase + (after > 0 ? (int)(after / 366) : 0);
    if (year > kLastValidYear)
        return kNoDay;
    for (int y = year; y <= year + 3; ++y) {
        DateRecord day = *date;
        day.year = (uint16_t)y;
        if (day.month == 2 && day.day == 29 && !IsLeapYear(y)) {
            day.month = 3;
            day.day = 1;
        }
        long number = DayNumber(&day, kDayNumberBase);
        if (number > after)
            return number;
    }
    return kNoDay;
}

int QuietScanHolds(const QuietScan* stored, unsigned long long fingerprint,
                   const MissedSpan* span, long lastDay, AlertMinute now, int alertsOn)
{
    if (stored->fingerprint != fingerprint || stored->alertsOn != alertsOn)
        return 0;
    // Days before those judged then (the last shown day moved back, or the
    // clock) were never judged.
    if (span->oneOffFirst < stored->oneOffFirst || span->first < stored->annualFirst)
        return 0;
    if (lastDay >= stored->nextDay)
        return 0;
    // The alert it found is the first after now only while it lies ahead.
    return !alertsOn || stored->nextAlert == 0 || stored->nextAlert > now;
}
