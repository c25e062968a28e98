// Writes reminders as an iCalendar file (RFC 5545) into a caller's buffer:
// UTF-8 with CRLF line ends, lines folded at 75 octets, one VEVENT a reminder.
#pragma once

#include "core/CalendarRecord.h"
#include "core/DateTime.h"

#include <stddef.h>

// Room one event takes at most (its text at most kCalendarTextSize - 1 bytes),
// and the calendar's own lines around the events.
const size_t kCalendarEventMaxSize = 1024;
const size_t kCalendarFrameSize = 256;

struct CalendarWriter {
    char* out;
    size_t size;
    size_t used;     // bytes written so far, no NUL
    int overflow;    // something did not fit
    DateRecord today;
    char stamp[20];  // DTSTAMP value
};

// Starts a calendar in buffer (size bytes). stampUtc is the moment of the
// export in UTC (DTSTAMP); today, the local day from which an annual
// reminder's next occurrence is counted.
void BeginCalendarFile(CalendarWriter* writer, char* buffer, size_t size, const DateRecord* stampUtc,
                       const DateRecord* today);

// Appends one reminder: year 0 for an annual one, from its next occurrence;
// hasTime 0 for an all-day one. Returns 0 when it did not fit (nothing of it
// is then kept) or its date is no date.
int WriteCalendarEvent(CalendarWriter* writer, const CalendarRecord* record);

// Closes the calendar; returns 0 when anything did not fit.
int EndCalendarFile(CalendarWriter* writer);

// The event's UID: a hash of the reminder's date as stored (no year for an
// annual one), time and text, so the same reminder keeps it from one export
// to the next and a calendar updates it instead of adding it again.
void MakeCalendarUid(const CalendarRecord* record, char* out, size_t outSize);
