// When the alert task is set for, and what an alert start shows: the rules
// of core/NextAlert on a fixed "now", 9 December 2026 at 08:00.
#include "core/NextAlert.h"
#include "core/DateTime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

AlertMinute At(int year, int month, int day, int hour, int minute)
{
    DateRecord date = {};
    date.year = (uint16_t)year;
    date.month = (uint16_t)month;
    date.day = (uint16_t)day;
    date.hour = (uint16_t)hour;
    date.minute = (uint16_t)minute;
    return MinuteOf(&date);
}

const AlertMinute kNow = At(2026, 12, 9, 8, 0);

struct Line {
    const char* date; // as the file writes it
    const char* time;
};

AlertMinute NextOf(std::initializer_list<Line> lines, const AlertState& state,
                   AlertMinute now = kNow)
{
    NextAlertScan scan;
    StartAlertScan(&scan, now);
    for (const Line& line : lines) {
        DateRecord date = {};
        if (ParseDate(line.date, &date))
            NoteTimedReminder(&scan, &date, line.time);
    }
    return NextAlertTime(&scan, &state);
}

TEST(NextAlert, IsTheEarliestTimedReminderAheadOrAPendingSnooze)
{
    const AlertState on = {1, 0, 0, 0, 0};
    const AlertState off = {0, 0, 0, 0, 0};
    const AlertState snoozed = {1, kNow, At(2026, 12, 9, 8, 10), kNow - 5, kNow - 5};
    const struct {
        const char* why;
        std::initializer_list<Line> lines;
        AlertState state;
        AlertMinute expected;
        AlertMinute now;
    } cases[] = {
        {"nothing in the file", {}, on, 0, kNow},
        {"only reminders without a time", {{"12/09/26", ""}, {"12/10", ""}}, on, 0, kNow},
        {"later today", {{"12/09/26", "09:30"}}, on, At(2026, 12, 9, 9, 30), kNow},
        {"the earlier of two, in any order",
         {{"12/10/26", "07:00"}, {"12/09/26", "17:45"}, {"12/09/26", "09:30"}}, on,
         At(2026, 12, 9, 9, 30), kNow},
        {"tomorrow", {{"12/10/26", "06:15"}}, on, At(2026, 12, 10, 6, 15), kNow},
        {"a time passed today is no alert", {{"12/09/26", "07:59"}, {"12/09/26", "08:00"}}, on, 0,
         kNow},
        {"a past year", {{"12/09/20", "09:30"}}, on, 0, kNow},
        {"annual, later today", {{"12/09", "10:00"}}, on, At(2026, 12, 9, 10, 0), kNow},
        {"annual, passed today: next year", {{"12/09", "07:00"}}, on, At(2027, 12, 9, 7, 0), kNow},
        {"annual in January, seen in December", {{"01/02", "08:00"}}, on, At(2027, 1, 2, 8, 0),
         kNow},
        {"29 February: 1 March of a common year", {{"02/29", "09:00"}}, on, At(2027, 3, 1, 9, 0),
         kNow},
        {"29 February of a leap year", {{"02/29", "09:00"}}, on, At(2028, 2, 29, 9, 0),
         At(2028, 1, 5, 12, 0)},
        {"12-hour forms of the file", {{"12/09/26", "09:30P"}, {"12/09/26", "12:05 AM"}}, on,
         At(2026, 12, 9, 21, 30), kNow},
        {"12 noon in 12-hour form", {{"12/09/26", "12:00PM"}}, on, At(2026, 12, 9, 12, 0), kNow},
        {"a time that does not read", {{"12/09/26", "25:00"}, {"12/09/26", "x"}}, on, 0, kNow},
        {"a snooze before the next reminder", {{"12/09/26", "09:30"}}, snoozed,
         At(2026, 12, 9, 8, 10), kNow},
        {"a snooze after the next reminder", {{"12/09/26", "08:05"}}, snoozed,
         At(2026, 12, 9, 8, 5), kNow},
        {"a snooze with nothing else ahead", {}, snoozed, At(2026, 12, 9, 8, 10), kNow},
        {"the setting off", {{"12/09/26", "09:30"}}, off, 0, kNow},
        {"the setting off, a snooze pending", {}, {0, kNow, kNow + 10, kNow, kNow}, 0, kNow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, NextOf(c.lines, c.state, c.now)) << c.why;
    }
}

TEST(NextAlert, AnAlertStartShowsWhatFellDueSinceTheLastAlertADayBackAtMost)
{
    const AlertMinute shownAt7 = At(2026, 12, 9, 7, 0);
    const struct {
        const char* why;
        Line line;
        AlertState state;
        AlertMinute expected; // 0: not shown
    } cases[] = {
        {"a minute ago", {"12/09/26", "07:59"}, {1, shownAt7, 0, 0, 0}, At(2026, 12, 9, 7, 59)},
        {"this very minute", {"12/09/26", "08:00"}, {1, shownAt7, 0, 0, 0}, kNow},
        {"shown by the last alert already", {"12/09/26", "06:59"}, {1, shownAt7, 0, 0, 0}, 0},
        {"ahead", {"12/09/26", "08:01"}, {1, shownAt7, 0, 0, 0}, 0},
        {"yesterday evening, the computer off since", {"12/08/26", "22:30"}, {1, 0, 0, 0, 0},
         At(2026, 12, 8, 22, 30)},
        {"more than a day back", {"12/08/26", "07:59"}, {1, 0, 0, 0, 0}, 0},
        {"annual, yesterday evening", {"12/08", "22:30"}, {1, 0, 0, 0, 0}, At(2026, 12, 8, 22, 30)},
        {"annual on 31 December, seen on 1 January", {"12/31", "23:50"}, {1, 0, 0, 0, 0},
         At(2026, 12, 31, 23, 50)},
        {"snoozed until now, from the day before",
         {"12/08/26", "07:00"},
         {1, kNow - 1, kNow, At(2026, 12, 8, 7, 0), At(2026, 12, 8, 7, 0)},
         At(2026, 12, 8, 7, 0)},
        {"snoozed until later: not yet",
         {"12/09/26", "07:30"},
         {1, kNow - 1, kNow + 5, At(2026, 12, 9, 7, 30), At(2026, 12, 9, 7, 30)},
         0},
    };
    for (const auto& c : cases) {
        DateRecord date = {};
        ASSERT_TRUE(ParseDate(c.line.date, &date)) << c.why;
        AlertMinute now = std::string(c.why).find("1 January") != std::string::npos
                              ? At(2027, 1, 1, 0, 5)
                              : kNow;
        AlertMinute when = 12345;
        EXPECT_EQ(c.expected != 0, IsDueForAlert(&date, c.line.time, &c.state, now, &when))
            << c.why;
        EXPECT_EQ(c.expected, when) << c.why;
    }
}

TEST(NextAlert, MinutesRoundTripThroughTheCalendar)
{
    // The first and last minutes of every year, and the days around a leap
    // day: the year is worked out at once, not counted.
    for (int year = 1980; year <= 2100; ++year) {
        for (AlertMinute m : {At(year, 1, 1, 0, 0), At(year, 2, 28, 23, 59), At(year, 3, 1, 0, 0),
                              At(year, 12, 31, 23, 59)}) {
            DateRecord date;
            DateOfMinute(m, &date);
            EXPECT_EQ(m, MinuteOf(&date)) << year;
        }
    }
    DateRecord leapDay;
    DateOfMinute(At(2024, 2, 29, 12, 1), &leapDay);
    EXPECT_EQ(2024, leapDay.year);
    EXPECT_EQ(2, leapDay.month);
    EXPECT_EQ(29, leapDay.day);
}

} // namespace
