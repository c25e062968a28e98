// Fuzzes the data-file reader and the date and time code behind it: every
// input is a data file, read line by line as start-up reads it, each line
// turned into the fields of a record as loading does, and each record's line
// written the way saving writes it and read back.
#include "core/DateTime.h"
#include "core/EntryReader.h"
#include "FuzzCheck.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// A record's fixed-size text field, alone on the heap so that the address
// sanitizer reports a write one byte past it.
struct Field {
    explicit Field(size_t n) : size(n), text(new char[n]) { memset(text, 'X', n); }
    ~Field() { delete[] text; }
    size_t size;
    char* text;
};

DateRecord Day(int year, int month, int day)
{
    DateRecord d;
    memset(&d, 0, sizeof d);
    d.year = (uint16_t)year;
    d.month = (uint16_t)month;
    d.day = (uint16_t)day;
    return d;
}

int IsDigits(const char* text, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return 1;
}

// MM/DD/YY with two digits each, whatever numbers the record holds.
int IsDateForm(const char* text)
{
    return strlen(text) == 8 && IsDigits(text, 2) && text[2] == '/' && IsDigits(text + 3, 2) &&
           text[5] == '/' && IsDigits(text + 6, 2);
}

// Reads the one line in line and checks it gives back the tokens it was written from.
void CheckReadsBack(const char* line, const char* date, const char* time, const char* text)
{
    const char* cursor = line;
    const char* end = line + strlen(line) + 1;
    char readDate[kDateTokenSize], readTime[kTimeTokenSize], readText[kTextTokenSize];
    CHECK(ReadEntryLine(&cursor, end, readDate, readTime, readText) == 1);
    CHECK(strcmp(readDate, date) == 0);
    CHECK(strcmp(readTime, time) == 0);
    CHECK(strcmp(readText, text) == 0);
    CHECK(ReadEntryLine(&cursor, end, readDate, readTime, readText) == 0);
}

// One line as loading turns it into a record, then as saving writes it. work
// lives across lines, as the application's work date does: a date that fails
// to parse keeps what the line before left.
void BuildAndWrite(const char* date, const char* time, const char* text, DateRecord* work,
                   const DateRecord& today)
{
    Field dateText(10), timeText(10), sortKey(12);
    timeText.text[0] = '\0';

    int dateValid = ParseDate(date, work);
    int yearless = work->year == 0;
    if (dateValid) {
        // A yearless date is a day of some year: of 2000, the leap year, at least.
        DateRecord checked = *work;
        if (yearless)
            checked.year = 2000;
        CHECK(IsValidDate(&checked) && checked.year >= kFirstAcceptedYear);
    }

    int timeRead = ParseFileTime(time[0] != '\0' ? time : "06:30", work);
    int timeValid = timeRead && work->timeValid;
    if (timeValid) {
        CHECK(work->hour <= 23 && work->minute <= 59);
        FormatTime12(work, timeText.text, timeText.size);
        CHECK(strlen(timeText.text) == 8);
    }

    int annual = ResolveAnnualYear(work, &today);
    CHECK(annual == yearless);
    int weekday = DayOfWeek(work->year, work->month, work->day);
    CHECK(weekday >= 0 && weekday <= 6);
    IsToday(work, &today);
    DayNumber(work, kDayNumberBase);
    FormatDate(work, dateText.text, dateText.size);
    MakeSortKey(work, sortKey.text, sortKey.size);
    CHECK(IsDateForm(dateText.text));
    CHECK(strlen(sortKey.text) < sortKey.size);

    if (dateValid) {
        CHECK(strlen(sortKey.text) == 8 && IsDigits(sortKey.text, 8));
        // A valid date survives its own text: what the file gets back is the same day.
        DateRecord again = Day(1, 1, 1);
        char written[6];
        memcpy(written, dateText.text, 5);
        written[5] = '\0';
        CHECK(ParseDate(annual ? written : dateText.text, &again));
        CHECK(again.month == work->month && again.day == work->day);
        CHECK(annual ? again.year == 0 : again.year == work->year);
    }

    // The line saving writes: the date (without the year for an annual
    // record), a TAB and the 24-hour time, a space, the text.
    char time24[10] = "";
    if (time[0] != '\0' && timeValid) {
        DateRecord clock = Day(0, 0, 0);
        CHECK(ParseTime(timeText.text, &clock, 1) && clock.timeValid);
        CHECK(clock.hour == work->hour && clock.minute == work->minute);
        FormatTime24(&clock, time24, sizeof time24);
        CHECK(strlen(time24) == 5);
        DateRecord reread = Day(0, 0, 0);
        CHECK(ParseFileTime(time24, &reread) && reread.timeValid);
        CHECK(reread.hour == clock.hour && reread.minute == clock.minute);
    }
    char dateWritten[10];
    memcpy(dateWritten, dateText.text, 9);
    dateWritten[annual ? 5 : 8] = '\0';
    char line[140];
    const char* guard = time24[0] && BeginsWithTimeMark(text) ? " " : "";
    snprintf(line, sizeof line, "%s%s%s%s %s\r\n", dateWritten, time24[0] ? "\t" : "", time24, guard,
             text);
    CheckReadsBack(line, dateWritten, time24, text);
}

const DateRecord kTodays[] = {Day(2006, 12, 7), Day(2008, 2, 29), Day(2050, 12, 31)};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The file as start-up holds it: its bytes, then NUL. One NUL only, so
    // that any read past the end of the text is a read past the buffer.
    char* buffer = new char[size + 1];
    memcpy(buffer, data, size);
    buffer[size] = '\0';
    const char* end = buffer + size + 1;

    for (const DateRecord& today : kTodays) {
        const char* withText = buffer;
        const char* datesOnly = buffer; // the run decision reads without copying the texts
        DateRecord work = Day(0, 0, 0);
        for (int lines = 0;; ++lines) {
            Field date(kDateTokenSize), time(kTimeTokenSize), text(kTextTokenSize);
            char date2[kDateTokenSize], time2[kTimeTokenSize];
            const char* before = withText;
            int read = ReadEntryLine(&withText, end, date.text, time.text, text.text);
            CHECK(read == ReadEntryLine(&datesOnly, end, date2, time2, NULL));
            CHECK(withText == datesOnly);
            CHECK(withText >= before && withText < end);
            if (!read) {
                CHECK(*withText == '\0');
                break;
            }
            CHECK(withText > before);
            CHECK(*withText == '\0' || *withText == '\r' || *withText == '\n');
            CHECK(strcmp(date.text, date2) == 0 && strcmp(time.text, time2) == 0);
            CHECK(date.text[0] >= '0' && date.text[0] <= '9');
            CHECK(text.text[0] != '\0' && text.text[0] != ' ' && text.text[0] != '\t');
            BuildAndWrite(date.text, time.text, text.text, &work, today);
            // Each date token alone, as the run decision checks it.
            DateRecord scratch = work;
            ParseDate(date.text, &scratch);
        }
    }
    delete[] buffer;
    return 0;
}
