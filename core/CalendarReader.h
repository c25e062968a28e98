// Reads reminders out of an iCalendar file (RFC 5545: one VEVENT a reminder)
// or a contacts file (vCard 2.1, 3.0, 4.0: one birthday a contact). Loose on
// input, as the data-file reader is: it skips what it cannot use, counts why,
// and never reads past the end of the bytes it is given.
#pragma once

#include "core/CalendarRecord.h"
#include "core/DateTime.h"

#include <stddef.h>

// Larger files are refused whole: even a contacts file with photos is smaller.
const size_t kCalendarMaxFileSize = 8u * 1024u * 1024u;

// What a contact's birthday reminder says before the name.
extern const char kBirthdayPrefix[];

enum CalendarKind { kCalendarNeither = 0, kCalendarEvents = 1, kCalendarContacts = 2 };

struct CalendarCounts {
    int found;        // events or contacts in the file
    int read;         // given back as records
    int noDate;       // no usable DTSTART or BDAY
    int otherRepeat;  // a repeat other than every year, or one changed occurrence of a series
    int outsideYears; // a one-off date before 1998 or after 2050
    int noText;       // no summary, or no name
    int textCut;      // given back with the text cut to 83 characters
};

// Turns a date-time of a time zone into local time in place: zone is "UTC"
// for a time ending in Z, else the TZID parameter's value. Returns 0 when it
// cannot; the time is then kept as written.
typedef int (*CalendarZoneHook)(void* context, const char* zone, DateRecord* time);

struct CalendarReader {
    const char* cursor;
    const char* end;
    int kind;     // a CalendarKind
    int tooLarge; // refused for its size
    CalendarZoneHook toLocal; // may be null
    void* context;
    CalendarCounts counts;
};

// Starts reading the size bytes at data (no NUL needed). Returns the file's
// kind, 0 when it is over kCalendarMaxFileSize or neither kind; toLocal may be null.
int BeginCalendarRead(CalendarReader* reader, const char* data, size_t size, CalendarZoneHook toLocal,
                      void* context);

// Gives the next usable event or birthday in record: year 0 for one every
// year (a birthday always), the text UTF-8 without control characters or
// blanks at either end. Returns 0 at the end of the file.
int ReadCalendarRecord(CalendarReader* reader, CalendarRecord* record);
