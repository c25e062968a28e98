#include "CalendarWriter.h"

#include "BoundedString.h"

#include <string.h>

// The longest content line before folding: an escaped text of the largest
// size (every byte doubled) and its property name.
static const size_t kLogicalLineSize = 2 * kCalendarTextSize + 32;
static const size_t kFoldOctets = 75;

static void PutBytes(CalendarWriter* writer, const char* bytes, size_t count)
{
    if (writer->overflow || count > writer->size - writer->used) {
        writer->overflow = 1;
        return;
    }
    memcpy(writer->out + writer->used, bytes, count);
    writer->used += count;
}

// Writes one content line folded: no physical line over 75 octets, CRLF
// ends, a continuation starting with a blank, and never a break inside a
// UTF-8 sequence (the break moves back to the character's first byte).
static void PutLine(CalendarWriter* writer, const char* line)
{
    size_t length = strlen(line);
    size_t start = 0;
    size_t room = kFoldOctets;
    while (length - start > room) {
        size_t cut = start + room;
        while (cut > start + 1 && ((unsigned char)line[cut] & 0xC0) == 0x80)
            --cut;
        PutBytes(writer, line + start, cut - start);
        PutBytes(writer, "\r\n ", 3);
        start = cut;
        room = kFoldOctets - 1;
    }
    PutBytes(writer, line + start, length - start);
    PutBytes(writer, "\r\n", 2);
}

static void PutDigits(char* out, unsigned value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = (char)('0' + value % 10);
        value /= 10;
    }
    out[count] = '\0';
}

// YYYYMMDD, and THHMMSS behind it when withTime.
static void FormatCalendarDate(const DateRecord* date, int withTime, char* out)
{
    PutDigits(out, date->year, 4);
    PutDigits(out + 4, date->month, 2);
    PutDigits(out + 6, date->day, 2);
    if (withTime) {
        out[8] = 'T';
        PutDigits(out + 9, date->hour, 2);
        PutDigits(out + 11, date->minute, 2);
        PutDigits(out + 13, date->second, 2);
    }
}

void BeginCalendarFile(CalendarWriter* writer, char* buffer, size_t size, const DateRecord* stampUtc,
                       const DateRecord* today)
{
    writer->out = buffer;
    writer->size = size;
    writer->used = 0;
    writer->overflow = 0;
    writer->today = *today;
    FormatCalendarDate(stampUtc, 1, writer->stamp);
    AppendText(writer->stamp, sizeof writer->stamp, "Z");
    PutLine(writer, "BEGIN:VCALENDAR");
    PutLine(writer, "VERSION:2.0");
    PutLine(writer, "PRODID:-//Tarvendel//Tarvendel reminders//EN");
    PutLine(writer, "CALSCALE:GREGORIAN");
}

void MakeCalendarUid(const CalendarRecord* record, char* out, size_t outSize)
{
    // FNV-1a over the fields as the data file keeps them.
    uint64_t hash = 14695981039346656037ull;
    const unsigned fields[] = {record->year,   record->month, record->day,
                               record->hasTime, record->hasTime ? record->hour : 0u,
                               record->hasTime ? record->minute : 0u};
    for (unsigned field : fields) {
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= (field >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    for (const char* p = record->text; *p != '\0' && p < record->text + sizeof record->text; ++p) {
        hash ^= (unsigned char)*p;
        hash *= 1099511628211ull;
    }
    char uid[40];
    static const char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i)
        uid[i] = kHex[(hash >> (60 - 4 * i)) & 0xF];
    uid[16] = '\0';
    AppendText(uid, sizeof uid, "@tarvendel");
    CopyText(out, outSize, uid);
}

// SUMMARY's TEXT value: backslash, semicolon and comma escaped; a control
// character, which TEXT cannot carry, becomes a blank.
static void AppendEscapedText(char* line, size_t lineSize, const char* text, size_t textSize)
{
    size_t used = strlen(line);
    for (size_t i = 0; i < textSize && text[i] != '\0' && used + 3 <= lineSize; ++i) {
        char c = text[i];
        if (c == '\\' || c == ';' || c == ',')
            line[used++] = '\\';
        else if ((unsigned char)c < 0x20 || c == 0x7F)
            c = ' ';
        line[used++] = c;
    }
    line[used] = '\0';
}

int WriteCalendarEvent(CalendarWriter* writer, const CalendarRecord* record)
{
    DateRecord start = {};
    start.year = record->year;
    start.month = record->month;
    start.day = record->day;
    start.hour = record->hasTime ? record->hour : 0;
    start.minute = record->hasTime ? record->minute : 0;
    int annual = record->year == 0;
    int leapDay = annual && record->month == 2 && record->day == 29;
    if (annual) {
        ResolveAnnualYear(&start, &writer->today);
        // Due on 1 March of a common year, as the program shows it.
        if (leapDay && !IsLeapYear(start.year)) {
            start.month = 3;
            start.day = 1;
        }
    }
    if (!IsValidDate(&start) || (record->hasTime && (start.hour > 23 || start.minute > 59)))
        return 0;
    if (writer->overflow)
        return 0;

    size_t before = writer->used;
    char line[kLogicalLineSize];
    PutLine(writer, "BEGIN:VEVENT");
    CopyText(line, sizeof line, "UID:");
    MakeCalendarUid(record, line + 4, sizeof line - 4);
    PutLine(writer, line);
    CopyText(line, sizeof line, "DTSTAMP:");
    AppendText(line, sizeof line, writer->stamp);
    PutLine(writer, line);
    char date[20];
    FormatCalendarDate(&start, record->hasTime, date);
    CopyText(line, sizeof line, record->hasTime ? "DTSTART:" : "DTSTART;VALUE=DATE:");
    AppendText(line, sizeof line, date);
    PutLine(writer, line);
    // The 60th day of the year is 29 February in a leap year and 1 March in
    // any other: the one rule that says what the program does with a leap-day date.
    if (annual)
        PutLine(writer, leapDay ? "RRULE:FREQ=YEARLY;BYYEARDAY=60" : "RRULE:FREQ=YEARLY");
    CopyText(line, sizeof line, "SUMMARY:");
    AppendEscapedText(line, sizeof line, record->text, sizeof record->text);
    PutLine(writer, line);
    // A reminder does not make its owner busy.
    PutLine(writer, "TRANSP:TRANSPARENT");
    PutLine(writer, "END:VEVENT");
    if (writer->overflow) {
        writer->used = before;
        return 0;
    }
    return 1;
}

int EndCalendarFile(CalendarWriter* writer)
{
    PutLine(writer, "END:VCALENDAR");
    return !writer->overflow;
}
