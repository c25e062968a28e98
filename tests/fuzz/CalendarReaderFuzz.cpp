// Fuzzes the calendar and contacts readers: every input is a file as an
// import gets it. Each record read must be one the program can hold, and
// written back with the calendar writer and read again it must come back
// the same.
#include "core/CalendarReader.h"
#include "core/CalendarWriter.h"
#include "FuzzCheck.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// A zone hook as the program's own would act: some zones known and moved by
// hours across a day, a month or a year; others left alone.
int ShiftZone(void* context, const char* zone, DateRecord* time)
{
    (void)context;
    size_t length = strlen(zone);
    if (length % 3 == 0)
        return 0;
    int shift = (int)(length % 5) * 7 - 14; // -14..+14 hours
    int hour = time->hour + shift;
    int day = time->day, month = time->month, year = time->year;
    if (hour < 0) {
        hour += 24;
        if (--day < 1) {
            if (--month < 1) {
                month = 12;
                --year;
            }
            day = DaysInMonth(year, month);
        }
    } else if (hour > 23) {
        hour -= 24;
        if (++day > DaysInMonth(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    time->year = (uint16_t)year;
    time->month = (uint16_t)month;
    time->day = (uint16_t)day;
    time->hour = (uint16_t)hour;
    return 1;
}

size_t CountCharacters(const char* text)
{
    size_t count = 0;
    for (const char* p = text; *p != '\0'; ++p)
        count += ((unsigned char)*p & 0xC0) != 0x80;
    return count;
}

void CheckRecord(const CalendarRecord& r)
{
    size_t length = strnlen(r.text, sizeof r.text);
    CHECK(length > 0 && length < sizeof r.text);
    CHECK(IsValidUtf8(r.text, length));
    CHECK(CountCharacters(r.text) <= kCalendarTextChars);
    CHECK(r.text[0] != ' ' && r.text[length - 1] != ' ');
    for (size_t i = 0; i < length; ++i)
        CHECK((unsigned char)r.text[i] >= 0x20 && r.text[i] != 0x7F);
    DateRecord date = {};
    date.year = r.year == 0 ? 2000 : r.year;
    date.month = r.month;
    date.day = r.day;
    CHECK(IsValidDate(&date));
    CHECK(r.year == 0 || (r.year >= kFirstAcceptedYear && r.year <= kLastValidYear));
    CHECK(r.hasTime <= 1 && r.hour <= 23 && r.minute <= 59);
    CHECK(r.hasTime || (r.hour == 0 && r.minute == 0));
}

void CheckReadsBack(const CalendarRecord& r)
{
    static char buffer[kCalendarFrameSize + kCalendarEventMaxSize];
    CalendarWriter writer;
    DateRecord stamp = {2027, 1, 0, 2, 3, 4, 5, 0}, today = {2027, 6, 0, 15, 0, 0, 0, 0};
    BeginCalendarFile(&writer, buffer, sizeof buffer, &stamp, &today);
    CHECK(WriteCalendarEvent(&writer, &r));
    CHECK(EndCalendarFile(&writer));
    CalendarReader reader;
    CHECK(BeginCalendarRead(&reader, buffer, writer.used, NULL, NULL) == kCalendarEvents);
    CalendarRecord again;
    CHECK(ReadCalendarRecord(&reader, &again));
    CHECK(again.year == r.year && again.month == r.month && again.day == r.day);
    CHECK(again.hasTime == r.hasTime && again.hour == r.hour && again.minute == r.minute);
    CHECK(strcmp(again.text, r.text) == 0);
    CHECK(!ReadCalendarRecord(&reader, &again));
}

const char* const kHeads[] = {"", "BEGIN:VCALENDAR\r\n", "BEGIN:VCARD\r\n"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte puts a calendar's or a contact's first line before the
    // rest, so the fuzzer spends its time past the kind check too.
    const char* head = kHeads[data[0] % 3];
    size_t headLength = strlen(head);
    size_t total = headLength + size - 1;
    // Exactly the file's bytes, no NUL behind: any read past them is caught.
    char* file = new char[total > 0 ? total : 1];
    memcpy(file, head, headLength);
    memcpy(file + headLength, data + 1, size - 1);

    CalendarReader reader;
    int kind = BeginCalendarRead(&reader, file, total, ShiftZone, NULL);
    CHECK(kind == kCalendarNeither || kind == kCalendarEvents || kind == kCalendarContacts);
    CalendarRecord record;
    int records = 0;
    while (ReadCalendarRecord(&reader, &record)) {
        ++records;
        CheckRecord(record);
        if (kind == kCalendarContacts)
            CHECK(record.year == 0 && !record.hasTime &&
                  strncmp(record.text, kBirthdayPrefix, strlen(kBirthdayPrefix)) == 0);
        CheckReadsBack(record);
    }
    const CalendarCounts& c = reader.counts;
    CHECK(c.read == records);
    CHECK(c.found == c.read + c.noDate + c.otherRepeat + c.outsideYears + c.noText);
    CHECK(c.textCut <= c.read);
    CHECK(!ReadCalendarRecord(&reader, &record));
    delete[] file;
    return 0;
}
