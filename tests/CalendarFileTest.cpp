// Calendar and contacts files: the iCalendar a phone or an online calendar
// reads, and the calendars and contacts they write, in the forms their
// exporters use.
#include "core/CalendarReader.h"
#include "core/CalendarWriter.h"
#include "support/CalendarRecords.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

DateRecord Day(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return DateRecord{(uint16_t)year, (uint16_t)month, 0, (uint16_t)day,
                      (uint16_t)hour, (uint16_t)minute, (uint16_t)second, 0};
}

// "MM/DD" for an annual record, "YYYY/MM/DD" for a one-off, " hh:mm" behind
// a timed one, then the text.
std::string Describe(const CalendarRecord& r)
{
    char head[40];
    if (r.year == 0)
        snprintf(head, sizeof head, "%02u/%02u", r.month, r.day);
    else
        snprintf(head, sizeof head, "%04u/%02u/%02u", r.year, r.month, r.day);
    std::string s = head;
    if (r.hasTime) {
        snprintf(head, sizeof head, " %02u:%02u", r.hour, r.minute);
        s += head;
    }
    return s + " " + r.text;
}

std::string Crlf(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// As if the computer's clock ran two hours ahead of UTC, one ahead of Berlin.
int TestZones(void* context, const char* zone, DateRecord* time)
{
    int* calls = (int*)context;
    ++*calls;
    int shift = strcmp(zone, "UTC") == 0 ? 2 : strcmp(zone, "Europe/Berlin") == 0 ? 1 : -1;
    if (shift < 0)
        return 0;
    time->hour = (uint16_t)(time->hour + shift);
    if (time->hour >= 24) {
        time->hour = (uint16_t)(time->hour - 24);
        if (++time->day > DaysInMonth(time->year, time->month)) {
            time->day = 1;
            if (++time->month > 12) {
                time->month = 1;
                ++time->year;
            }
        }
    }
    return 1;
}

struct ReadResult {
    int kind;
    std::string records; // Describe() of each, joined by " | "
    std::string counts;  // found read noDate otherRepeat outsideYears noText textCut
};

ReadResult ReadAll(const std::string& file)
{
    ReadResult result;
    CalendarReader reader;
    int calls = 0;
    result.kind = BeginCalendarRead(&reader, file.data(), file.size(), TestZones, &calls);
    CalendarRecord record;
    while (ReadCalendarRecord(&reader, &record))
        result.records += (result.records.empty() ? "" : " | ") + Describe(record);
    const CalendarCounts& c = reader.counts;
    char counts[80];
    snprintf(counts, sizeof counts, "%d %d %d %d %d %d %d", c.found, c.read, c.noDate, c.otherRepeat,
             c.outsideYears, c.noText, c.textCut);
    result.counts = counts;
    return result;
}

struct ReadCase {
    const char* name;
    const char* file; // "\n" stands for CRLF
    const char* records;
    const char* counts;
};

template <size_t N>
void ExpectReads(int kind, const ReadCase (&cases)[N])
{
    for (const ReadCase& c : cases) {
        ReadResult r = ReadAll(Crlf(c.file));
        EXPECT_EQ(kind, r.kind) << c.name;
        EXPECT_EQ(c.records, r.records) << c.name;
        EXPECT_EQ(c.counts, r.counts) << c.name;
    }
}

#define VCAL(body) "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\n" body "END:VCALENDAR\n"
#define VEVENT(body) "BEGIN:VEVENT\nUID:1@test\nDTSTAMP:20260101T000000Z\n" body "END:VEVENT\n"

TEST(CalendarRead, EventsInTheFormsCalendarsWrite)
{
    const ReadCase cases[] = {
        {"an online calendar's yearly all-day birthday",
         VCAL(VEVENT("DTSTART;VALUE=DATE:19850412\nDTEND;VALUE=DATE:19850413\nRRULE:FREQ=YEARLY\n"
                     "SUMMARY:Anna's birthday\n")),
         "04/12 Anna's birthday", "1 1 0 0 0 0 0"},
        {"a phone's yearly rule naming month and day",
         VCAL(VEVENT("DTSTART;VALUE=DATE:20240412\nRRULE:FREQ=YEARLY;BYMONTH=4;BYMONTHDAY=12;INTERVAL=1\n"
                     "SUMMARY:Anniversary\n")),
         "04/12 Anniversary", "1 1 0 0 0 0 0"},
        {"a one-off at a local time, and one with no DTEND at all",
         VCAL(VEVENT("DTSTART:20270315T093000\nDTEND:20270315T103000\nSUMMARY:Dentist\n")
              VEVENT("DTSTART:20270316\nSUMMARY:Loose date\n")),
         "2027/03/15 09:30 Dentist | 2027/03/16 Loose date", "2 2 0 0 0 0 0"},
        {"UTC and a named zone go through the local-time hook; an unknown zone stays as written",
         VCAL(VEVENT("DTSTART:20271231T230000Z\nSUMMARY:New year call\n")
              "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\nEND:VTIMEZONE\n"
              VEVENT("DTSTART;TZID=Europe/Berlin:20270601T080000\nSUMMARY:Meeting\n")
              VEVENT("DTSTART;TZID=\"Mars/Olympus\":20270601T080000\nSUMMARY:Far away\n")),
         "2028/01/01 01:00 New year call | 2027/06/01 09:00 Meeting | 2027/06/01 08:00 Far away",
         "3 3 0 0 0 0 0"},
        {"escapes undone, a line break a blank, folds joined inside a UTF-8 sequence",
         VCAL(VEVENT("DTSTART;VALUE=DATE:20270101\nSUMMARY:Tea\\, cake\\; and\\\\or\\nmore caf\xC3\n"
                     " \xA9 here\n")),
         "2027/01/01 Tea, cake; and\\or more caf\xC3\xA9 here", "1 1 0 0 0 0 0"},
        {"an alarm's own summary is not the event's",
         VCAL(VEVENT("DTSTART;VALUE=DATE:20270101\nBEGIN:VALARM\nACTION:EMAIL\nSUMMARY:Alarm mail\n"
                     "END:VALARM\nSUMMARY:Real\n")),
         "2027/01/01 Real", "1 1 0 0 0 0 0"},
        {"other repeats and changed occurrences are skipped and counted",
         VCAL(VEVENT("DTSTART:20270104T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO\nSUMMARY:Gym\n")
              VEVENT("DTSTART;VALUE=DATE:20271125\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH\nSUMMARY:Feast\n")
              VEVENT("DTSTART;VALUE=DATE:20270101\nRRULE:FREQ=YEARLY;INTERVAL=2\nSUMMARY:Every other\n")
              VEVENT("RECURRENCE-ID:20270111T090000\nDTSTART:20270111T100000\nSUMMARY:Gym moved\n")),
         "", "4 0 0 4 0 0 0"},
        {"no date, no text, a year out of range: skipped, each counted",
         VCAL(VEVENT("SUMMARY:Undated\n") VEVENT("DTSTART:2027-01-01\nSUMMARY:Wrong form\n")
              VEVENT("DTSTART;VALUE=DATE:20270230\nSUMMARY:No such day\n")
              VEVENT("DTSTART;VALUE=DATE:20270101\nSUMMARY: \n")
              VEVENT("DTSTART;VALUE=DATE:19970101\nSUMMARY:Too old\n")
              VEVENT("DTSTART;VALUE=DATE:20510101\nSUMMARY:Too new\n")
              VEVENT("DTSTART;VALUE=DATE:19970101\nRRULE:FREQ=YEARLY\nSUMMARY:Old but yearly\n")),
         "01/01 Old but yearly", "7 1 3 0 2 1 0"},
        {"a leap day every year, as a rule on the 60th day or on the day itself",
         VCAL(VEVENT("DTSTART;VALUE=DATE:20270301\nRRULE:FREQ=YEARLY;BYYEARDAY=60\nSUMMARY:Leap A\n")
              VEVENT("DTSTART;VALUE=DATE:20280229\nRRULE:FREQ=YEARLY\nSUMMARY:Leap B\n")
              VEVENT("DTSTART;VALUE=DATE:20270302\nRRULE:FREQ=YEARLY;BYYEARDAY=60\nSUMMARY:Wrong\n")),
         "02/29 Leap A | 02/29 Leap B", "3 2 0 1 0 0 0"},
        {"LF line ends, lower-case names and a file cut short",
         "begin:vcalendar\nbegin:vevent\ndtstart;value=date:20270707\nsummary:Lower\nend:vevent\n"
         "begin:vevent\ndtstart;value=date:20270708\nsummary:Cut",
         "2027/07/07 Lower | 2027/07/08 Cut", "2 2 0 0 0 0 0"},
        {"text in Windows-1252 by mistake becomes UTF-8",
         VCAL(VEVENT("DTSTART;VALUE=DATE:20270101\nSUMMARY:Caf\xE9 \x80\n")),
         "2027/01/01 Caf\xC3\xA9 \xE2\x82\xAC", "1 1 0 0 0 0 0"},
    };
    ExpectReads(kCalendarEvents, cases);
}

TEST(CalendarRead, LongSummaryIsCutAt83CharactersNotInsideOne)
{
    std::string text;
    for (int i = 0; i < 90; ++i)
        text += "\xE2\x82\xAC"; // three bytes each
    ReadResult r = ReadAll(Crlf("BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nSUMMARY:" + text +
                "\nEND:VEVENT\nEND:VCALENDAR\n"));
    std::string expected = "2027/01/01 ";
    for (int i = 0; i < 83; ++i)
        expected += "\xE2\x82\xAC";
    EXPECT_EQ(expected, r.records);
    EXPECT_EQ("1 1 0 0 0 0 1", r.counts);

    // A cut right after a word keeps no blank at the end.
    r = ReadAll(Crlf("BEGIN:VCARD\nFN:" + std::string(73, 'x') + " and more\nBDAY:--0101\nEND:VCARD\n"));
    EXPECT_EQ("01/01 Birthday: " + std::string(73, 'x'), r.records);
    EXPECT_EQ("1 1 0 0 0 0 1", r.counts);
}

#define VCARD(body) "BEGIN:VCARD\n" body "END:VCARD\n"

TEST(ContactsRead, BirthdaysInTheFormsContactsProgramsWrite)
{
    const ReadCase cases[] = {
        {"vCard 3.0 of a web address book",
         VCARD("VERSION:3.0\nN:Smith;Anna;;;\nFN:Anna Smith\nBDAY;VALUE=date:1985-04-12\n"
               "TEL;TYPE=CELL:+1 555 0100\n"),
         "04/12 Birthday: Anna Smith", "1 1 0 0 0 0 0"},
        {"vCard 4.0 without a year, both forms, and a date-time",
         VCARD("VERSION:4.0\nFN:Bo\nBDAY:--0412\n") VCARD("VERSION:4.0\nFN:Cy\nBDAY:--04-13\n")
             VCARD("VERSION:4.0\nFN:Di\nBDAY:19850414T000000Z\n"),
         "04/12 Birthday: Bo | 04/13 Birthday: Cy | 04/14 Birthday: Di", "3 3 0 0 0 0 0"},
        {"a phone's vCard 2.1: UTF-8 quoted-printable with soft line breaks, name from N",
         VCARD("VERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BC=\n"
               "rgen;;;\nBDAY:19700101\n"),
         "01/01 Birthday: J\xC3\xBCrgen M\xC3\xBCller", "1 1 0 0 0 0 0"},
        {"vCard 2.1 in Latin-1 with the bare encoding word",
         VCARD("VERSION:2.1\nFN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Ren=E9e\nBDAY:1970-12-31\n"),
         "12/31 Birthday: Ren\xC3\xA9" "e", "1 1 0 0 0 0 0"},
        {"a grouped property, escapes in the name, a folded line",
         VCARD("VERSION:3.0\nFN:Smith\\, Anna\nitem1.BDAY:2000-02-\n 29\nitem1.X-ABLabel:Birthday\n"),
         "02/29 Birthday: Smith, Anna", "1 1 0 0 0 0 0"},
        {"contacts without a birthday, with a text one, a wrong day or no name",
         VCARD("VERSION:3.0\nFN:No Birthday\n") VCARD("VERSION:4.0\nFN:Circa\nBDAY;VALUE=text:circa 1800\n")
             VCARD("VERSION:3.0\nFN:Bad\nBDAY:1985-02-30\n") VCARD("VERSION:3.0\nBDAY:1985-02-03\n")
             VCARD("VERSION:3.0\nN:;;;;\nFN:\nBDAY:1985-02-03\n"),
         "", "5 0 3 0 0 2 0"},
        {"an embedded contact and a photo line of any length are passed over",
         VCARD("VERSION:2.1\nFN:Outer\nAGENT:\nBEGIN:VCARD\nFN:Inner\nBDAY:19700505\nEND:VCARD\n"
               "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQ"
               "QEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/2wBDAQMEBAUEBQkFBQkUDQsNFB\n"
               "BDAY:19700606\n"),
         "06/06 Birthday: Outer", "1 1 0 0 0 0 0"},
    };
    ExpectReads(kCalendarContacts, cases);
}

TEST(CalendarRead, RefusesOtherFilesAndOversizeOnes)
{
    const std::string others[] = {
        "", "\r\n\r\n", "12/25 Christmas\r\n", "BEGIN:VTODO\r\nEND:VTODO\r\n",
        std::string("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0", 22), "\xEF\xBB\xBF", "BEGIN",
    };
    for (const std::string& file : others) {
        ReadResult r = ReadAll(file);
        EXPECT_EQ(kCalendarNeither, r.kind) << file;
        EXPECT_EQ("", r.records) << file;
    }
    EXPECT_EQ(kCalendarContacts, ReadAll("\xEF\xBB\xBF" "BEGIN:VCARD\r\nFN:A\r\nBDAY:--0101\r\nEND:VCARD").kind);

    std::string big = Crlf(VCAL(VEVENT("DTSTART;VALUE=DATE:20270101\nSUMMARY:x\n")));
    big.resize(kCalendarMaxFileSize + 1, ' ');
    CalendarReader reader;
    EXPECT_EQ(0, BeginCalendarRead(&reader, big.data(), big.size(), NULL, NULL));
    EXPECT_EQ(1, reader.tooLarge);
    CalendarRecord record;
    EXPECT_EQ(0, ReadCalendarRecord(&reader, &record));
    big.resize(kCalendarMaxFileSize);
    EXPECT_EQ(kCalendarEvents, BeginCalendarRead(&reader, big.data(), big.size(), NULL, NULL));
}

// The content lines of a written file, unfolded, after checking the folding itself.
std::vector<std::string> Unfold(const std::string& file)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find("\r\n", start);
        EXPECT_NE(std::string::npos, end) << "no CRLF at the end";
        if (end == std::string::npos)
            break;
        std::string physical = file.substr(start, end - start);
        EXPECT_LE(physical.size(), 75u) << physical;
        EXPECT_EQ(std::string::npos, physical.find('\n')) << physical;
        EXPECT_TRUE(IsValidUtf8(physical.data(), physical.size())) << "a fold split a character";
        if (!physical.empty() && physical[0] == ' ') {
            EXPECT_FALSE(lines.empty());
            if (!lines.empty())
                lines.back() += physical.substr(1);
        } else {
            lines.push_back(physical);
        }
        start = end + 2;
    }
    return lines;
}

std::string Export(const std::vector<CalendarRecord>& records, const DateRecord& today)
{
    std::vector<char> buffer(kCalendarFrameSize + kCalendarEventMaxSize * records.size());
    CalendarWriter writer;
    DateRecord stamp = Day(2027, 1, 2, 3, 4, 5);
    BeginCalendarFile(&writer, buffer.data(), buffer.size(), &stamp, &today);
    for (const CalendarRecord& r : records)
        EXPECT_EQ(1, WriteCalendarEvent(&writer, &r)) << r.text;
    EXPECT_EQ(1, EndCalendarFile(&writer));
    return std::string(buffer.data(), writer.used);
}

// The lines of the one event in an export, less BEGIN, UID, DTSTAMP, TRANSP and END.
std::string EventLines(const CalendarRecord& record, const DateRecord& today)
{
    std::vector<std::string> lines = Unfold(Export({record}, today));
    std::string joined;
    for (const std::string& line : lines)
        if (line.compare(0, 6, "BEGIN:") && line.compare(0, 4, "END:") && line.compare(0, 4, "UID:") &&
            line.compare(0, 8, "DTSTAMP:") && line.compare(0, 7, "TRANSP:") &&
            line.compare(0, 8, "VERSION:") && line.compare(0, 7, "PRODID:") &&
            line.compare(0, 9, "CALSCALE:"))
            joined += (joined.empty() ? "" : "|") + line;
    return joined;
}

TEST(CalendarWrite, DatesRulesAndTextOfEachKindOfReminder)
{
    const struct {
        CalendarRecord record;
        DateRecord today;
        const char* lines;
    } cases[] = {
        {Reminder(2027, 3, 15, 0, 0, 0, "Dentist"), Day(2027, 1, 1),
         "DTSTART;VALUE=DATE:20270315|SUMMARY:Dentist"},
        {Reminder(2027, 3, 15, 1, 9, 5, "Dentist"), Day(2027, 1, 1),
         "DTSTART:20270315T090500|SUMMARY:Dentist"},
        {Reminder(0, 4, 12, 0, 0, 0, "Anna"), Day(2027, 4, 12),
         "DTSTART;VALUE=DATE:20270412|RRULE:FREQ=YEARLY|SUMMARY:Anna"},
        {Reminder(0, 4, 12, 1, 18, 30, "Anna"), Day(2027, 4, 13),
         "DTSTART:20280412T183000|RRULE:FREQ=YEARLY|SUMMARY:Anna"},
        {Reminder(0, 2, 29, 0, 0, 0, "Leap"), Day(2027, 1, 1),
         "DTSTART;VALUE=DATE:20270301|RRULE:FREQ=YEARLY;BYYEARDAY=60|SUMMARY:Leap"},
        {Reminder(0, 2, 29, 0, 0, 0, "Leap"), Day(2027, 3, 2),
         "DTSTART;VALUE=DATE:20280229|RRULE:FREQ=YEARLY;BYYEARDAY=60|SUMMARY:Leap"},
        {Reminder(0, 2, 29, 0, 0, 0, "Leap"), Day(2028, 3, 1),
         "DTSTART;VALUE=DATE:20290301|RRULE:FREQ=YEARLY;BYYEARDAY=60|SUMMARY:Leap"},
        {Reminder(2027, 1, 1, 0, 0, 0, "a,b;c\\d\te"), Day(2027, 1, 1),
         "DTSTART;VALUE=DATE:20270101|SUMMARY:a\\,b\\;c\\\\d e"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, EventLines(c.record, c.today)) << c.record.text;
}

TEST(CalendarWrite, FoldsAt75OctetsWithoutSplittingACharacter)
{
    // Every offset of a two- and a three-byte character against the fold.
    for (int lead = 0; lead < 4; ++lead) {
        for (const char* character : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\x82"}) {
            std::string text(lead, 'x');
            while (text.size() + strlen(character) < kCalendarTextSize)
                text += character;
            CalendarRecord r = Reminder(2027, 5, 5, 0, 0, 0, text.c_str());
            std::string lines = EventLines(r, Day(2027, 1, 1));
            EXPECT_EQ("DTSTART;VALUE=DATE:20270505|SUMMARY:" + text, lines);
        }
    }
}

TEST(CalendarWrite, UidStaysForTheSameReminderAndDiffersForAnother)
{
    char a[64], b[64];
    const CalendarRecord annual = Reminder(0, 4, 12, 0, 0, 0, "Anna");
    MakeCalendarUid(&annual, a, sizeof a);
    CalendarRecord same = annual;
    same.hour = 7; // no time: an hour left over must not count
    MakeCalendarUid(&same, b, sizeof b);
    EXPECT_STREQ(a, b);
    // Exports on other days give the annual reminder another DTSTART, not another UID.
    std::string first = Export({annual}, Day(2027, 1, 1)), later = Export({annual}, Day(2027, 6, 1));
    EXPECT_NE(std::string::npos, first.find(std::string("UID:") + a + "\r\n"));
    EXPECT_NE(std::string::npos, later.find(std::string("UID:") + a + "\r\n"));

    const CalendarRecord others[] = {
        Reminder(2027, 4, 12, 0, 0, 0, "Anna"), Reminder(0, 4, 13, 0, 0, 0, "Anna"),
        Reminder(0, 4, 12, 1, 0, 0, "Anna"),    Reminder(0, 4, 12, 1, 0, 1, "Anna"),
        Reminder(0, 4, 12, 0, 0, 0, "Anna "),
    };
    std::vector<std::string> seen = {a};
    for (const CalendarRecord& r : others) {
        MakeCalendarUid(&r, b, sizeof b);
        for (const std::string& s : seen)
            EXPECT_NE(s, b) << r.text;
        seen.push_back(b);
    }
}

TEST(CalendarWrite, ABufferTooSmallFailsWithoutWritingPastIt)
{
    const CalendarRecord r = Reminder(2027, 1, 1, 0, 0, 0, "Text");
    for (size_t size = 0; size < 400; size += 7) {
        std::vector<char> buffer(size + 1, '#');
        CalendarWriter writer;
        DateRecord stamp = Day(2027, 1, 1), today = Day(2027, 1, 1);
        BeginCalendarFile(&writer, buffer.data(), size, &stamp, &today);
        int written = WriteCalendarEvent(&writer, &r);
        int ended = EndCalendarFile(&writer);
        EXPECT_LE(writer.used, size);
        EXPECT_EQ('#', buffer[size]);
        if (ended) {
            EXPECT_EQ(1, written);
        }
    }
    CalendarWriter writer;
    char buffer[kCalendarFrameSize];
    DateRecord stamp = Day(2027, 1, 1), today = Day(2027, 1, 1);
    BeginCalendarFile(&writer, buffer, sizeof buffer, &stamp, &today);
    const CalendarRecord noDate = Reminder(2027, 2, 29, 0, 0, 0, "x");
    EXPECT_EQ(0, WriteCalendarEvent(&writer, &noDate));
    EXPECT_EQ(1, EndCalendarFile(&writer));
}

TEST(CalendarFile, WrittenRemindersReadBackTheSame)
{
    const std::vector<CalendarRecord> records = {
        Reminder(2027, 3, 15, 0, 0, 0, "Dentist"),
        Reminder(2050, 12, 31, 1, 23, 59, "Last, of all; the \\ years"),
        Reminder(0, 2, 29, 0, 0, 0, "Leap day"),
        Reminder(0, 1, 1, 1, 0, 0, "New year \xE2\x82\xAC"),
        Reminder(1998, 1, 1, 1, 12, 0,
                 "An eighty-three character text that exactly fills the field of a reminder, ok!!"),
    };
    for (DateRecord today : {Day(2027, 1, 1), Day(2028, 2, 29), Day(2028, 12, 31)}) {
        ReadResult r = ReadAll(Export(records, today));
        std::string expected;
        for (const CalendarRecord& record : records)
            expected += (expected.empty() ? "" : " | ") + Describe(record);
        EXPECT_EQ(kCalendarEvents, r.kind);
        EXPECT_EQ(expected, r.records);
        EXPECT_EQ("5 5 0 0 0 0 0", r.counts);
    }
}

} // namespace
