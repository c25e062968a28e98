// Whether a start from the Windows start-up list opens the window.
#include "core/Application.h"
#include "core/EntryReader.h"
#include "core/QuietScan.h"
#include "support/AppState.h"
#include "support/CivilDate.h"
#include "support/ModalAnswerer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class RunDecision : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetApplication();
        theApp.reminderMode = 1;
    }
    void TearDown() override { theApp.ReleaseTextBuffer(); }

    int Decide(const std::string& file, DateRecord day, int range)
    {
        today = day;
        theApp.Range = range;
        LoadText(file);
        return theApp.ShouldShowWindow();
    }
};

TEST_F(RunDecision, OpensOnlyForAReminderFromTodayToRangeDaysAhead)
{
    const struct {
        const char* file;
        int year, month, day, range;
        int shown;
    } cases[] = {
        {"03/11/06 Eleventh\r\n", 2006, 3, 1, 10, 1},
        {"03/12/06 Twelfth\r\n", 2006, 3, 1, 10, 0},
        {"03/01/06 Today\r\n", 2006, 3, 1, 10, 1},
        {"02/28/06 Yesterday\r\n", 2006, 3, 1, 10, 0},
        {"03/01/07 A year on\r\n", 2006, 3, 1, 10, 0},
        {"", 2006, 3, 1, 10, 0},
        {"12/31/06 Eve\r\n01/03/07 Later\r\n", 2006, 12, 30, 3, 1},
        // Annual dates count at their next occurrence, across the new year too.
        {"01/02 New year visit\r\n", 2006, 12, 30, 7, 1},
        {"01/02 New year visit\r\n", 2006, 12, 30, 2, 0},
        {"12/29 Just gone\r\n", 2006, 12, 30, 20, 0},
        // An annual 29 February counts as 1 March in a common year.
        {"02/29 Leap birthday\r\n", 2007, 2, 25, 4, 1},
        {"02/29 Leap birthday\r\n", 2007, 2, 25, 3, 0},
        {"02/29 Leap birthday\r\n", 2008, 2, 25, 4, 1},
        {"02/29 Leap birthday\r\n", 2007, 3, 1, 1, 1}, // due on 1 March itself
        {"02/29 Leap birthday\r\n", 2007, 3, 2, 20, 0},
        {"02/29 Leap birthday\r\n", 2008, 3, 1, 20, 0},
        // A date without text is passed over, not taken for the end.
        {"12/25/06\r\n03/05/06 After\r\n", 2006, 3, 1, 10, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, Decide(c.file, MakeDate(c.year, c.month, c.day), c.range)) << c.file;
}

TEST_F(RunDecision, AStartByHandAlwaysOpens)
{
    theApp.reminderMode = 0;
    theApp.RunDay = 1;
    EXPECT_EQ(1, Decide("", MakeDate(2006, 3, 1), 10));
}

TEST_F(RunDecision, OnceADayMeansTheSameDateNotTheSameDayNumber)
{
    const std::string inRange = "03/07/06 Soon\r\n";
    // Older settings with only the day number keep their meaning.
    theApp.RunDay = 7;
    EXPECT_EQ(0, Decide(inRange, MakeDate(2006, 3, 7), 10));
    // With the full date stored, a run on the 7th of a later month opens.
    theApp.RunDate = 20060207;
    EXPECT_EQ(1, Decide(inRange, MakeDate(2006, 3, 7), 10));
    theApp.RunDate = 20060307;
    EXPECT_EQ(0, Decide(inRange, MakeDate(2006, 3, 7), 10));
    theApp.RunDate = 20060306;
    theApp.RunDay = 6;
    EXPECT_EQ(1, Decide(inRange, MakeDate(2006, 3, 7), 10));
}

// A reminder whose day came after the day the due reminders were last shown
// and before today opens the window: a one-off one however long ago, an
// annual one at most 31 days back. Range 1 keeps the coming ones out.
TEST_F(RunDecision, AReminderMissedSinceTheLastShownListOpensTheWindow)
{
    const struct {
        const char* line;
        unsigned lastShown;
        int year, month, day, runOnce, shown;
    } cases[] = {
        {"03/03/06 Missed", 20060301, 2006, 3, 5, 1, 1},
        {"03/01/06 The last shown day", 20060301, 2006, 3, 5, 1, 0},
        {"03/03/06 Without a last shown day", 0, 2006, 3, 5, 1, 0},
        {"03/03/06 Without once a day", 20060301, 2006, 3, 5, 0, 1},
        {"03/03/06 Shown today already", 20060305, 2006, 3, 5, 1, 0},
        {"02/02/06 Thirty-one days back", 20050101, 2006, 3, 5, 1, 1},
        {"02/01/06 One-off, thirty-two days back", 20050101, 2006, 3, 5, 1, 1},
        {"01/24/06 One-off, forty days back", 20060115, 2006, 3, 5, 1, 1},
        {"01/14/06 One-off, before the last shown day", 20060115, 2006, 3, 5, 1, 0},
        {"02/02 Annual, thirty-one days back", 20050101, 2006, 3, 5, 1, 1},
        {"02/01 Annual, thirty-two days back", 20050101, 2006, 3, 5, 1, 0},
        {"03/03 Annual", 20060301, 2006, 3, 5, 1, 1},
        {"03/03 Annual, last year", 20050301, 2006, 3, 5, 1, 1},
        {"12/30 Across the new year", 20061228, 2007, 1, 3, 1, 1},
        {"12/30/06 One-off across it", 20061228, 2007, 1, 3, 1, 1},
        {"12/27 Before the last shown day", 20061228, 2007, 1, 3, 1, 0},
        {"02/29 Leap day, common year", 20070227, 2007, 3, 2, 1, 1},
        {"02/29 Leap day, gone by", 20070301, 2007, 3, 3, 1, 0},
        {"02/29 Leap day, leap year", 20080227, 2008, 3, 2, 1, 1},
        {"03/03/06 Bad last shown day", 20061399, 2006, 3, 5, 1, 0},
        // Shown "after today" (the clock was ahead): thirty-one days back.
        {"02/20/06 One-off, shown day ahead", 20060310, 2006, 3, 5, 1, 1},
        {"02/20 Annual, shown day ahead", 20060310, 2006, 3, 5, 1, 1},
        {"02/01/06 One-off, shown day ahead, long gone", 20060310, 2006, 3, 5, 1, 0},
        // Across the turn of the year, where a past year's date may still count.
        {"12/31/05 One-off, the year before the last shown day", 20060102, 2006, 1, 10, 1, 0},
        {"01/05/06 One-off after it", 20060102, 2006, 1, 10, 1, 1},
        {"12/20/05 One-off, last year, shown day ahead", 20060120, 2006, 1, 10, 1, 1},
    };
    for (const auto& c : cases) {
        // A run that showed the list wrote both days.
        theApp.RunDate = theApp.ShownDate = c.lastShown;
        theApp.RunOnce = c.runOnce;
        EXPECT_EQ(c.shown, Decide(std::string(c.line) + "\r\n", MakeDate(c.year, c.month, c.day), 1))
            << c.line;
    }
}

TEST_F(RunDecision, AlwaysRunOpensWithNothingInRangeButStillOnlyOnceADay)
{
    theApp.AlwaysRun = 1;
    EXPECT_EQ(1, Decide("", MakeDate(2006, 3, 1), 10));
    theApp.RunDate = 20060301;
    EXPECT_EQ(0, Decide("", MakeDate(2006, 3, 1), 10));
}

TEST_F(RunDecision, ABadDateIsReportedAndTheScanGoesOn)
{
    ModalAnswerer answerer;
    EXPECT_EQ(1, Decide("13/40/06 Bad\r\n03/02/06 Good\r\n", MakeDate(2006, 3, 1), 10));
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Invalidate date\n13/40/06", answerer.Answered()[0].text);
}

// The reference decides by walking the days from today to Range days ahead
// and comparing calendar dates, with a reader written out char by char.
int ReferenceDecision(const std::string& file, DateRecord day, int range)
{
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0;
    while (i < file.size() && file[i] != '\0') {
        if (!isDigit(file[i])) {
            ++i;
            continue;
        }
        std::string date;
        while (i < file.size() && (isDigit(file[i]) || file[i] == '/' || file[i] == '-'))
            date += file[i++];
        if (i < file.size() && file[i] == '\t') {
            while (i < file.size() && (file[i] == ' ' || file[i] == '\t'))
                ++i;
            size_t end = i;
            while (end < file.size() && (isDigit(file[end]) || file[end] == ':' ||
                                         file[end] == 'A' || file[end] == 'P'))
                ++end;
            std::string token = file.substr(i, end - i);
            if (!token.empty() && isDigit(token[0]) && token.find(':') != std::string::npos) {
                i = end;
                if (i < file.size() && file[i] == 'M' && (file[i - 1] == 'A' || file[i - 1] == 'P'))
                    ++i;
            }
        }
        while (i < file.size() && (file[i] == ' ' || file[i] == '\t'))
            ++i;
        size_t textStart = i;
        while (i < file.size() && file[i] != '\0' && file[i] != '\r' && file[i] != '\n')
            ++i;
        if (i == textStart)
            continue;

        DateRecord parsed = {};
        if (!ParseDate(date.substr(0, 19).c_str(), &parsed))
            continue;
        DateRecord walk = day;
        for (int k = 0; k <= range; ++k) {
            int sameDay = parsed.month == walk.month && parsed.day == walk.day;
            int leapDayOnFirstMarch = parsed.year == 0 && parsed.month == 2 && parsed.day == 29 &&
                                      walk.month == 3 && walk.day == 1 && DaysIn(walk.year, 2) < 29;
            if ((parsed.year == 0 && (sameDay || leapDayOnFirstMarch)) ||
                (parsed.year == walk.year && sameDay))
                return 1;
            if (++walk.day > DaysIn(walk.year, walk.month)) {
                walk.day = 1;
                if (++walk.month > 12) {
                    walk.month = 1;
                    ++walk.year;
                }
            }
        }
    }
    return 0;
}

std::string RandomLine(std::mt19937& random, const DateRecord& day)
{
    const int thisYear = day.year;
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    char date[32];
    int form = pick(0, 11);
    if (form == 10)
        snprintf(date, sizeof date, "%02d/%02d", day.month, day.day + pick(0, 25));
    else if (form == 11)
        snprintf(date, sizeof date, "%02d/%02d/%02d", day.month, day.day + pick(0, 25), thisYear % 100);
    else if (form < 4)
        snprintf(date, sizeof date, "%02d/%02d", pick(1, 12), pick(1, 29));
    else if (form < 9)
        snprintf(date, sizeof date, "%02d/%02d/%02d", pick(1, 12), pick(1, 31),
                 (thisYear + pick(-1, 1)) % 100);
    else
        snprintf(date, sizeof date, "%d-%d-%d", pick(0, 14), pick(0, 33), pick(0, 99));
    std::string line = date;
    switch (pick(0, 5)) {
    case 0: line += "\t09:30 "; break;
    case 1: line += "\tAppointment "; break;
    case 2: line += "\t2:30PM "; break;
    case 3: line += " "; break;
    case 4: line += pick(0, 1) ? "\t" : "\t7 "; break;
    default: line += "  "; break;
    }
    if (pick(0, 9) != 0)
        line += "Reminder " + std::to_string(pick(0, 999));
    return line + (pick(0, 4) ? "\r\n" : "\n");
}

DateRecord RandomDay(std::mt19937& random)
{
    return MakeDate(std::uniform_int_distribution<int>(2000, 2012)(random),
                    std::uniform_int_distribution<int>(1, 12)(random),
                    std::uniform_int_distribution<int>(1, 28)(random));
}

// Up to six lines around day.
std::string RandomFile(std::mt19937& random, const DateRecord& day, int fewestLines)
{
    std::string file;
    int lines = std::uniform_int_distribution<int>(fewestLines, 6)(random);
    for (int i = 0; i < lines; ++i)
        file += RandomLine(random, day);
    return file;
}

TEST_F(RunDecision, AgreesWithADayByDayReferenceOnRandomFiles)
{
    std::mt19937 random(20061207);
    ModalAnswerer answerer; // invalid dates are reported; they only count as not in range
    int opened = 0;
    for (int round = 0; round < 400; ++round) {
        DateRecord day = RandomDay(random);
        std::string file = RandomFile(random, day, 0);
        int range = std::uniform_int_distribution<int>(1, 20)(random);
        int expected = ReferenceDecision(file, day, range);
        opened += expected;
        ASSERT_EQ(expected, Decide(file, day, range)) << file << "today " << day.year << "-"
                                                      << day.month << "-" << day.day;
    }
    EXPECT_GT(opened, 20); // the files must exercise both answers
    EXPECT_LT(opened, 380);
}

// What a start from the start-up list keeps of a file found quiet, the first
// day after its range with a reminder, checked against the decision itself
// on later days: quiet while the range ends before that day, and opening
// the window once it reaches it.
TEST_F(RunDecision, AFileFoundQuietStaysQuietUntilItsNextReminderDayComesIntoRange)
{
    std::mt19937 random(20261209);
    ModalAnswerer answerer;
    int checked = 0, reached = 0;
    for (int round = 0; round < 300; ++round) {
        DateRecord day = RandomDay(random);
        std::string file = RandomFile(random, day, 1);
        // The list last shown up to 40 days back, or never: the days since
        // are judged for missed reminders, at this start and the later ones.
        DateRecord shown;
        DateOfMinute(MinuteOf(&day) - std::uniform_int_distribution<int>(1, 40)(random) * 24 * 60,
                     &shown);
        theApp.ShownDate = round % 2 ? DateStamp(&shown) : 0;
        if (Decide(file, day, std::uniform_int_distribution<int>(1, 20)(random)) != 0 ||
            theApp.badDates != 0)
            continue;
        const long next = theApp.quietNextDay;
        ++checked;
        for (int later = 0; later <= 40; later += 3) {
            DateRecord then;
            DateOfMinute(MinuteOf(&day) + later * 24 * 60, &then);
            const long thenNumber = DayNumber(&then, kDayNumberBase);
            const long quietRange = next == kNoDay ? 400 : next - 1 - thenNumber;
            if (quietRange >= 0) {
                ASSERT_EQ(0, Decide(file, then, (int)quietRange)) << file << " +" << later;
            }
            if (next != kNoDay && next - thenNumber >= 0 && next - thenNumber <= 400) {
                ASSERT_EQ(1, Decide(file, then, (int)(next - thenNumber))) << file << " +" << later;
                ++reached;
            }
        }
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(reached, 100);
}

} // namespace
