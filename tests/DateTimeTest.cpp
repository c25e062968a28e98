// Date and time arithmetic, parsing and text forms.
#include "core/DateTime.h"
#include "support/CivilDate.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

namespace {

DateRecord Date(int year, int month, int day)
{
    return DateRecord{(uint16_t)year, (uint16_t)month, 0, (uint16_t)day, 0, 0, 0, 0};
}

// A date for the calls that take one by pointer, alive to the end of the statement.
struct At {
    At(int year, int month, int day) : record(Date(year, month, day)) {}
    operator const DateRecord*() const { return &record; }
    DateRecord record;
};

TEST(ParseDate, AcceptsOnlyDatesFrom1998To2050InMonthFirstForm)
{
    const struct {
        const char* text;
        int valid;
        int year, month, day; // checked only when valid
    } cases[] = {
        {"2/29", 1, 0, 2, 29},         {"2/29/04", 1, 2004, 2, 29},   {"2/29/06", 0, 0, 0, 0},
        {"12/25/97", 0, 0, 0, 0},      {"12/25/98", 1, 1998, 12, 25}, {"12/25/50", 1, 2050, 12, 25},
        {"12/25/51", 0, 0, 0, 0},      {"12/25/2006", 0, 0, 0, 0},    {"13/01/06", 0, 0, 0, 0},
        {"00/10/06", 0, 0, 0, 0},      {"4/31/06", 0, 0, 0, 0},       {"1225", 0, 0, 0, 0},
        {"12/25/", 1, 2000, 12, 25},   {"12-25-06", 1, 2006, 12, 25}, {"12:25:06", 1, 2006, 12, 25},
        {"03/15/07", 1, 2007, 3, 15},  {"12/25", 1, 0, 12, 25},       {"02/30", 0, 0, 0, 0},
        {" 7/4/99", 1, 1999, 7, 4},    {"12/25/96", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        DateRecord d = Date(1, 1, 1);
        EXPECT_EQ(c.valid, ParseDate(c.text, &d)) << c.text;
        if (c.valid) {
            EXPECT_EQ(c.year, d.year) << c.text;
            EXPECT_EQ(c.month, d.month) << c.text;
            EXPECT_EQ(c.day, d.day) << c.text;
        }
    }
}

// The forms the program writes take a short way; every one of them must read
// as the same text with dashes does, which goes the long way.
TEST(ParseDate, TheWrittenFormsReadAsAnyOtherForm)
{
    int differing = 0, valid = 0;
    for (int year = -1; year <= 99; ++year) {
        for (int month = 0; month <= 99; ++month) {
            for (int day = 0; day <= 99; ++day) {
                char written[16], dashed[16];
                if (year < 0) {
                    snprintf(written, sizeof written, "%02d/%02d", month, day);
                    snprintf(dashed, sizeof dashed, "%02d-%02d", month, day);
                } else {
                    snprintf(written, sizeof written, "%02d/%02d/%02d", month, day, year);
                    snprintf(dashed, sizeof dashed, "%02d-%02d-%02d", month, day, year);
                }
                DateRecord fast = {}, slow = {};
                int fastResult = ParseDate(written, &fast), slowResult = ParseDate(dashed, &slow);
                valid += fastResult;
                if (fastResult == slowResult && memcmp(&fast, &slow, sizeof fast) == 0)
                    continue;
                if (++differing <= 5)
                    ADD_FAILURE() << written << " reads otherwise than " << dashed;
            }
        }
    }
    EXPECT_EQ(0, differing);
    EXPECT_EQ(366 + 53 * 365 + 13, valid); // annual days, and the days of 1998 to 2050
}

TEST(ParseDate, LeavesDayAndYearAloneWithoutASlashAndSurvivesLongText)
{
    DateRecord d = Date(2001, 5, 6);
    EXPECT_EQ(0, ParseDate("1225", &d));
    EXPECT_EQ(1225, d.month);
    EXPECT_EQ(6, d.day);
    EXPECT_EQ(2001, d.year);

    // Longer than the 20-byte work copy: cut, never overrun.
    EXPECT_EQ(1, ParseDate("12/25/06////////////////////////////", &d));
    EXPECT_EQ(0, ParseDate("99999999999999999999999/1/1", &d));
}

TEST(ParseTime, ReadsBothClocksAndRefusesImpossibleTimes)
{
    const struct {
        const char* text;
        int twelveHour;
        int accepted, timeValid, hour, minute;
    } cases[] = {
        {"12:00 AM", 1, 1, 1, 0, 0},   {"12:30 PM", 1, 1, 1, 12, 30},
        {"7:30 PM", 1, 1, 1, 19, 30},  {"7:30 pm", 1, 1, 1, 7, 30},
        {"07:30 AM", 1, 1, 1, 7, 30},  {"7-30", 0, 1, 1, 7, 30},
        {"7-30", 1, 1, 1, 7, 30},      {"7:5", 0, 1, 1, 7, 5},
        {"7:5", 1, 1, 1, 7, 5},        {"24:00", 0, 0, 0, 24, 0},
        {"24:00", 1, 0, 0, 24, 0},     {"7:60", 0, 0, 0, 7, 60},
        {"7:60", 1, 0, 0, 7, 60},      {"7", 0, 0, 0, 7, 4},
        {"7", 1, 0, 0, 7, 4},          {"14:30", 0, 1, 1, 14, 30},
        {"14:30 PM", 1, 1, 1, 14, 30}, {"12:05 AM", 1, 1, 1, 0, 5},
        {"00:05", 0, 1, 1, 0, 5},      {"11:59 XPM", 1, 1, 1, 11, 59},
    };
    for (const auto& c : cases) {
        // 1 January 2006 at 3:04:09; the minute stays where the text names none.
        DateRecord d = {2006, 1, 0, 1, 3, 4, 9, 0};
        EXPECT_EQ(c.accepted, ParseTime(c.text, &d, c.twelveHour)) << c.text;
        EXPECT_EQ(c.timeValid, d.timeValid) << c.text;
        EXPECT_EQ(c.hour, d.hour) << c.text;
        EXPECT_EQ(c.minute, d.minute) << c.text;
    }
}

TEST(ParseTime, EmptyTextMeansNoTimeAndKeepsTheOldOne)
{
    DateRecord d = {2006, 1, 0, 1, 6, 30, 0, 1}; // 1 January 2006 at a valid 6:30
    EXPECT_EQ(1, ParseTime("", &d, 0));
    EXPECT_EQ(0, d.timeValid);
    EXPECT_EQ(6, d.hour);
    EXPECT_EQ(30, d.minute);
}

TEST(TextForms, DatesTimesAndSortKeysHaveTheirFixedForms)
{
    char out[12];
    DateRecord d = Date(2007, 1, 5);
    FormatDate(&d, out, 10);
    EXPECT_STREQ("01/05/07", out);
    MakeSortKey(&d, out, 12);
    EXPECT_STREQ("20070105", out);

    const struct {
        int hour, minute;
        const char* twelve;
        const char* twentyFour;
    } times[] = {
        {0, 5, "12:05 AM", "00:05"}, {12, 0, "12:00 PM", "12:00"}, {23, 59, "11:59 PM", "23:59"},
        {12, 5, "12:05 PM", "12:05"}, {1, 0, "01:00 AM", "01:00"}, {11, 59, "11:59 AM", "11:59"},
        {13, 7, "01:07 PM", "13:07"},
    };
    for (const auto& t : times) {
        d.hour = (uint16_t)t.hour;
        d.minute = (uint16_t)t.minute;
        FormatTime12(&d, out, 10);
        EXPECT_STREQ(t.twelve, out);
        FormatTime24(&d, out, 10);
        EXPECT_STREQ(t.twentyFour, out);
    }
}

TEST(TextForms, AbsurdFieldsAreCutToTheRecordFields)
{
    DateRecord d = {65535, 65535, 0, 65535, 65535, 65535, 0, 0}; // all but the seconds
    char out[10];
    FormatDate(&d, out, sizeof out);
    EXPECT_STREQ("65/65/35", out);
    FormatTime12(&d, out, sizeof out);
    EXPECT_STREQ("65:65 PM", out);
    char key[12];
    MakeSortKey(&d, key, sizeof key);
    EXPECT_STREQ("65535656553", key);
}

TEST(TextForms, TwoDigitsPadsBelowTenAndStepsTwoCharacters)
{
    char out[8] = {0};
    char* next = TwoDigits(7, out);
    EXPECT_STREQ("07", out);
    EXPECT_EQ(out + 2, next);
    TwoDigits(42, out);
    EXPECT_STREQ("42", out);
    TwoDigits(100, out);
    EXPECT_STREQ("100", out);
}

TEST(Calendar, LeapYearsAndValidity)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2004));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2006));
    EXPECT_FALSE(IsLeapYear(2100));

    EXPECT_FALSE(IsValidDate(At(2006, 2, 29)));
    EXPECT_TRUE(IsValidDate(At(2004, 2, 29)));
    EXPECT_FALSE(IsValidDate(At(1979, 12, 31)));
    EXPECT_TRUE(IsValidDate(At(1980, 1, 1)));
    EXPECT_FALSE(IsValidDate(At(2051, 1, 1)));
    EXPECT_FALSE(IsValidDate(At(2006, 200, 1))); // month checked before it indexes the table
}

TEST(Calendar, KnownWeekdaysAndDayNumbers)
{
    EXPECT_EQ(2, DayOfWeek(1980, 1, 1));
    EXPECT_EQ(2, DayOfWeek(2000, 2, 29));
    EXPECT_EQ(4, DayOfWeek(2006, 12, 7));

    EXPECT_EQ(0, DayNumber(At(1980, 1, 1), 1980));
    EXPECT_EQ(60, DayNumber(At(1980, 3, 1), 1980));
    EXPECT_EQ(9837, DayNumber(At(2006, 12, 7), 1980));

    // 29 February of a common year counts as 1 March.
    EXPECT_FALSE(IsValidDate(At(2007, 2, 29)));
    EXPECT_EQ(DayNumber(At(2007, 3, 1), 1980), DayNumber(At(2007, 2, 29), 1980));
}

// Walks the calendar one day at a time, independent of both closed forms.
TEST(Calendar, WeekdayAndDayNumberMatchADayByDayCountFrom1980To2050)
{
    long count = 0;
    int weekday = 2; // 1 January 1980 was a Tuesday
    for (int year = 1980; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysIn(year, month); ++day) {
                ASSERT_EQ(count, DayNumber(At(year, month, day), 1980))
                    << year << "-" << month << "-" << day;
                ASSERT_EQ(weekday, DayOfWeek(year, month, day)) << year << "-" << month << "-" << day;
                ++count;
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

TEST(Calendar, AbsurdDatesStillGiveADayName)
{
    for (int year : {0, 1, 65535})
        for (int month : {0, 13, 65535})
            for (int day : {0, 65535}) {
                int w = DayOfWeek(year, month, day);
                EXPECT_GE(w, 0);
                EXPECT_LE(w, 6);
            }
}

TEST(AnnualDates, ResolveToTheNextOccurrenceOnOrAfterToday)
{
    const DateRecord today = Date(2006, 12, 7);
    const struct {
        int month, day, year;
    } cases[] = {{12, 25, 2006}, {12, 7, 2006}, {12, 6, 2007}, {1, 2, 2007}, {11, 30, 2007}};
    for (const auto& c : cases) {
        DateRecord d = Date(0, c.month, c.day);
        EXPECT_EQ(1, ResolveAnnualYear(&d, &today));
        EXPECT_EQ(c.year, d.year) << c.month << "/" << c.day;
    }
    DateRecord oneOff = Date(2005, 1, 2);
    EXPECT_EQ(0, ResolveAnnualYear(&oneOff, &today));
    EXPECT_EQ(2005, oneOff.year);
}

TEST(AnnualDates, IsTodayComparesTheWholeDate)
{
    const At today(2006, 12, 7);
    EXPECT_TRUE(IsToday(At(2006, 12, 7), today));
    EXPECT_FALSE(IsToday(At(2007, 12, 7), today));
    EXPECT_FALSE(IsToday(At(0, 12, 7), today));
}

TEST(LeadingNumber, ReadsLikeTheRuntimeAndSaturates)
{
    EXPECT_EQ(12, LeadingNumber("12/25"));
    EXPECT_EQ(-3, LeadingNumber("  -3x"));
    EXPECT_EQ(0, LeadingNumber("x12"));
    EXPECT_EQ(2147483647L, LeadingNumber("99999999999999999999"));
}

} // namespace
