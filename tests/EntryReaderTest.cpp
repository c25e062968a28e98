// Reading the lines of the data file: the writer's own form, and what people type by hand.
#include "core/DateTime.h"
#include "core/EntryReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Line {
    std::string date, time, text;
};

// Reads a file's text line by line as the program reads its buffer, which
// ends one past the text's terminating NUL.
struct Reader {
    explicit Reader(const std::string& file)
        : cursor(file.c_str()), end(file.c_str() + file.size() + 1)
    {
    }
    int Next(int withText = 1)
    {
        return ReadEntryLine(&cursor, end, date, time, withText ? text : NULL);
    }

    const char* cursor;
    const char* end;
    char date[kDateTokenSize], time[kTimeTokenSize], text[kTextTokenSize];
};

std::vector<Line> ReadAll(const std::string& file)
{
    std::vector<Line> lines;
    for (Reader reader(file); reader.Next();)
        lines.push_back({reader.date, reader.time, reader.text});
    return lines;
}

struct ReadCase {
    const char* file;
    const char* date;
    const char* time;
    const char* text;
};

// Each file holds one line with a text, read into the expected tokens.
template <size_t N>
void ExpectLines(const ReadCase (&cases)[N])
{
    for (const ReadCase& c : cases) {
        std::vector<Line> lines = ReadAll(c.file);
        ASSERT_EQ(1u, lines.size()) << c.file;
        EXPECT_EQ(c.date, lines[0].date) << c.file;
        EXPECT_EQ(c.time, lines[0].time) << c.file;
        EXPECT_EQ(c.text, lines[0].text) << c.file;
    }
}

TEST(ReadEntryLine, ReadsTheWritersFormAndLooseHandTypedLines)
{
    const ReadCase cases[] = {
        {"12/25 Christmas\r\n", "12/25", "", "Christmas"},
        {"07/04\t09:00 Parade\r\n", "07/04", "09:00", "Parade"},
        {"01/10/07 Pay rent\r\n", "01/10/07", "", "Pay rent"},
        {"03/15/07\t14:30 Dentist\r\n", "03/15/07", "14:30", "Dentist"},
        {"12-25-06 Party", "12-25-06", "", "Party"},
        {"  ** 12/25\t \t Christmas  \n", "12/25", "", "Christmas  "},
        {"03/15/07 14:30 Dentist", "03/15/07", "", "14:30 Dentist"},
        {"Call 555 1234\r\n", "555", "", "1234"},
        {"no digits here\r\n12/25 Later", "12/25", "", "Later"},
        {"03/15/07\t  14:30\t\tDentist", "03/15/07", "14:30", "Dentist"},
    };
    ExpectLines(cases);
}

// After a TAB, a time is taken only where a digit begins it; an AM/PM mark
// takes its M along, so no text starts with a stray letter.
TEST(ReadEntryLine, TabBeforeTheTextKeepsTheTextWhole)
{
    const ReadCase cases[] = {
        {"01/01\tPaul's birthday\r\n", "01/01", "", "Paul's birthday"},
        {"07/04\tParade\r\n", "07/04", "", "Parade"},
        {"03/15/07\tAppointment\r\n", "03/15/07", "", "Appointment"},
        {"03/15/07\t  Anniversary", "03/15/07", "", "Anniversary"},
        {"12/24\t\"Eve\" party", "12/24", "", "\"Eve\" party"},
        {"12/24\tbake", "12/24", "", "bake"},
        {"07/04\t2:30PM Dentist", "07/04", "2:30PM", "Dentist"},
        {"07/04/07\t12:15AM Train", "07/04/07", "12:15AM", "Train"},
        {"07/04\t2:30P Dentist", "07/04", "2:30P", "Dentist"},
        {"07/04\t2:30PMX", "07/04", "2:30", "PMX"},
        {"07/04 Parade", "07/04", "", "Parade"},
        {"07/04 2:30PM Dentist", "07/04", "", "2:30PM Dentist"},
        {"01/06\t3 Kings", "01/06", "", "3 Kings"},
        {"01/06\t12 days", "01/06", "", "12 days"},
        {"01/06\t25:00 Late", "01/06", "25:00", "Late"},
        // Times as the list shows them: the mark a word of its own, in any case.
        {"07/04\t2:30 PM Dentist", "07/04", "2:30PM", "Dentist"},
        {"07/04\t02:30 pm Dentist", "07/04", "02:30PM", "Dentist"},
        {"07/04\t9:00 a Walk", "07/04", "9:00A", "Walk"},
        {"07/04\t9:00p\tWalk", "07/04", "9:00P", "Walk"},
        {"07/04\t9:00Parade", "07/04", "9:00", "Parade"},
        {"07/04\t9:00 Apples", "07/04", "9:00", "Apples"},
        {"07/04\t9:00 PMs meeting", "07/04", "9:00", "PMs meeting"},
        {"07/04\t10:00  A party", "07/04", "10:00", "A party"},
    };
    ExpectLines(cases);
}

TEST(ReadEntryLine, ADateWithoutTextIsSkippedAndTheLinesAfterItAreRead)
{
    std::vector<Line> lines = ReadAll("12/24 Eve\r\n12/25\r\n12/26\t10:00\r\n12/31 Party\r\n");
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("Eve", lines[0].text);
    EXPECT_EQ("12/31", lines[1].date);
    EXPECT_EQ("Party", lines[1].text);
}

TEST(ReadEntryLine, StopsAtTheFirstNulAndLeavesTheCursorOnTheLineEnd)
{
    std::string file("12/25 A\r\n12/26 B", 16);
    file += std::string("\0" "12/27 C", 8);
    Reader reader(file);
    ASSERT_EQ(1, reader.Next());
    EXPECT_EQ('\r', *reader.cursor);
    ASSERT_EQ(1, reader.Next());
    EXPECT_STREQ("B", reader.text);
    EXPECT_EQ(0, reader.Next());
    EXPECT_EQ(0, reader.Next());
}

// Every NUL becomes a line end, wherever it falls within a tested word or in
// the bytes after the last whole one; the byte past the size is left alone.
TEST(EndLinesAtNuls, TurnsEveryNulWithinTheSizeIntoALineEnd)
{
    for (size_t size = 0; size <= 19; ++size) {
        for (size_t at = 0; at < size; ++at) {
            for (size_t run = 1; at + run <= size && run <= 9; run += 4) {
                std::string text(size + 1, 'x');
                text.replace(at, run, run, '\0');
                text[size] = '\0';
                std::string expected = text;
                expected.replace(at, run, run, '\n');
                EndLinesAtNuls(&text[0], size);
                EXPECT_EQ(expected, text) << size << " " << at << " " << run;
            }
        }
    }
}

TEST(ReadEntryLine, OverlongTokensAreCutAndTheirRestSkipped)
{
    std::string longDate(40, '1');
    std::string longTime = "1" + std::string(40, ':');
    std::string longText(200, 'x');
    std::vector<Line> lines =
        ReadAll(longDate + "\t" + longTime + " " + longText + "\r\n12/25 Next\r\n");
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::string(19, '1'), lines[0].date);
    EXPECT_EQ("1" + std::string(18, ':'), lines[0].time);
    EXPECT_EQ(std::string(83, 'x'), lines[0].text);
    EXPECT_EQ("12/25", lines[1].date);
    EXPECT_EQ("Next", lines[1].text);
}

TEST(ReadEntryLine, WithoutATextBufferItFindsTheSameLines)
{
    const std::string file = "x 12/25 A\r\n12/26\r\n\r\n07/04\tParade\r\n1/1\t9:00 B";
    Reader withText(file), withoutText(file);
    for (;;) {
        int a = withText.Next(), b = withoutText.Next(0);
        ASSERT_EQ(a, b);
        if (!a)
            break;
        EXPECT_STREQ(withText.date, withoutText.date);
        EXPECT_STREQ(withText.time, withoutText.time);
        EXPECT_EQ(withText.cursor, withoutText.cursor);
    }
}

TEST(ParseFileTime, MarkedTimesAreTwelveHourOthersTwentyFourHour)
{
    const struct {
        const char* token;
        int accepted, hour, minute;
    } cases[] = {
        {"2:30PM", 1, 14, 30}, {"12:15AM", 1, 0, 15}, {"12:15PM", 1, 12, 15},
        {"2:30P", 1, 14, 30},  {"9:00A", 1, 9, 0},    {"14:30", 1, 14, 30},
        {"00:05", 1, 0, 5},    {"2:30", 1, 2, 30},    {"25:00", 0, 25, 0},
        {"13:00PM", 1, 13, 0}, {"7", 0, 7, -1},
    };
    for (const auto& c : cases) {
        DateRecord d = {};
        EXPECT_EQ(c.accepted, ParseFileTime(c.token, &d)) << c.token;
        EXPECT_EQ(c.hour, d.hour) << c.token;
        if (c.minute >= 0) {
            EXPECT_EQ(c.minute, d.minute) << c.token;
        }
    }
    DateRecord d = {};
    EXPECT_EQ(1, ParseFileTime("", &d));
    EXPECT_EQ(0, d.timeValid);
}

// Hand-typed annual lists: every text must come back whole, and in the
// writer's form it reads back exactly as written.
TEST(ReadEntryLine, GeneratedHandTypedListKeepsEveryText)
{
    const char* starts[] = {"Anna", "Paul", "apples", "Party", "7 dwarfs", "'quoted'", "zoo", "Mum", "ANZAC Day", "P.S."};
    std::string handTyped, written;
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i) {
        int month = 1 + i % 12, day = 1 + i % 28;
        char date[8];
        snprintf(date, sizeof date, "%02d/%02d", month, day);
        std::string text = std::string(starts[i % 10]) + " " + std::to_string(i);
        texts.push_back(text);
        handTyped += std::string(date) + "\t" + text + "\r\n";
        written += std::string(date) + (i % 3 ? " " : "\t06:30 ") + text + "\r\n";
    }
    std::vector<Line> hand = ReadAll(handTyped);
    std::vector<Line> back = ReadAll(written);
    ASSERT_EQ(texts.size(), hand.size());
    ASSERT_EQ(texts.size(), back.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], hand[i].text);
        EXPECT_EQ("", hand[i].time);
        EXPECT_EQ(texts[i], back[i].text);
        EXPECT_EQ(i % 3 ? "" : "06:30", back[i].time);
    }
}

} // namespace
