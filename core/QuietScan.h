// What a start from the start-up list found in a data file with nothing due,
// so that the next such start over the same text ends without judging every
// line again: at 100,000 reminders that took milliseconds at every login.
// Kept free of <windows.h>: the rules are tested natively too.
#pragma once

#include "DateTime.h"
#include "NextAlert.h"

#include <stddef.h>

const long kNoDay = 0x7fffffffL;

struct QuietScan {
    unsigned long long fingerprint; // of the text judged
    long oneOffFirst;               // the first day judged for one-off dates,
    long annualFirst;               //   and for annual ones (day numbers)
    long nextDay;                   // the first day after those judged with a reminder, or kNoDay
    AlertMinute nextAlert;          // the first timed reminder after the scan's start, 0: none
    int alertsOn;                   // whether the scan looked for it
};

// A fingerprint of size bytes of text, eight at a time.
unsigned long long TextFingerprint(const char* text, size_t size);

// The first day after 'after' (a day number) on which date falls: every year
// for year 0, where 29 February falls on 1 March of a common year, as the
// run decision takes it; kNoDay for a one-off date that is not after it.
long NextDayAfter(const DateRecord* date, long after);

// Whether a start that judges span's days up to lastDay, over a text of this
// fingerprint, may take the stored scan's word that nothing is due: every
// such day was judged then or lies before the first day with a reminder.
// The alert time it kept must also still lie ahead of now.
int QuietScanHolds(const QuietScan* stored, unsigned long long fingerprint,
                   const MissedSpan* span, long lastDay, AlertMinute now, int alertsOn);
