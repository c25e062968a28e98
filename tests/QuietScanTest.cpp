// When a start from the start-up list may take the last scan's word that a
// data file holds nothing due.
#include "core/QuietScan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

long Day(int year, int month, int day)
{
    DateRecord date = {};
    date.year = (uint16_t)year;
    date.month = (uint16_t)month;
    date.day = (uint16_t)day;
    return DayNumber(&date, kDayNumberBase);
}

TEST(QuietScan, TheNextDayAfterADayIsTheOneTheRunDecisionJudges)
{
    const struct {
        int year, month, day; // year 0: every year
        long after;
        long expected;
    } cases[] = {
        {2026, 12, 9, Day(2026, 12, 9), kNoDay},       // not after it
        {0, 12, 9, Day(2026, 12, 9), Day(2027, 12, 9)}, // a year on
        {0, 2, 29, Day(2026, 12, 9), Day(2027, 3, 1)},  // 1 March of a common year
        {0, 2, 29, Day(2027, 12, 9), Day(2028, 2, 29)},
        {0, 6, 1, -5, Day(1980, 6, 1)},
        {0, 6, 1, kNoDay - 1, kNoDay}, // a range past every year a date can name
    };
    for (const auto& c : cases) {
        DateRecord date = {};
        date.year = (uint16_t)c.year;
        date.month = (uint16_t)c.month;
        date.day = (uint16_t)c.day;
        EXPECT_EQ(c.expected, NextDayAfter(&date, c.after))
            << c.year << "-" << c.month << "-" << c.day << " after " << c.after;
    }
}

TEST(QuietScan, ItsWordHoldsOnlyForTheSameTextWithinTheDaysItJudged)
{
    const AlertMinute now = 20000000;
    const QuietScan stored = {0x1234, 100, 90, 130, now + 60, 1};
    const MissedSpan same = {90, 100, 110, 2000};
    MissedSpan earlierOneOffs = same, earlierAnnual = same, later = same;
    earlierOneOffs.oneOffFirst = 99;
    earlierAnnual.first = 89;
    later.first = later.oneOffFirst = 120;
    const struct {
        const char* what;
        unsigned long long fingerprint;
        const MissedSpan* span;
        long lastDay;
        AlertMinute now;
        int alertsOn;
        int holds;
    } cases[] = {
        {"as judged", 0x1234, &same, 120, now, 1, 1},
        {"days on, before the next reminder", 0x1234, &later, 129, now, 1, 1},
        {"the next reminder's day reached", 0x1234, &later, 130, now, 1, 0},
        {"another text", 0x1235, &same, 120, now, 1, 0},
        {"one-off days before those judged", 0x1234, &earlierOneOffs, 120, now, 1, 0},
        {"annual days before those judged", 0x1234, &earlierAnnual, 120, now, 1, 0},
        {"its alert time passed", 0x1234, &same, 120, now + 60, 1, 0},
        {"alerts turned off since", 0x1234, &same, 120, now, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.holds, QuietScanHolds(&stored, c.fingerprint, c.span, c.lastDay, c.now,
                                          c.alertsOn))
            << c.what;

    // Without alerts, or with no timed reminder ahead, time alone changes nothing.
    const QuietScan noAlert = {0x1234, 100, 90, 130, 0, 1};
    EXPECT_EQ(1, QuietScanHolds(&noAlert, 0x1234, &same, 120, now + 99999, 1));
    const QuietScan alertsOff = {0x1234, 100, 90, 130, now + 60, 0};
    EXPECT_EQ(1, QuietScanHolds(&alertsOff, 0x1234, &same, 120, now + 99999, 0));
}

TEST(QuietScan, AnyByteChangedOrAddedChangesTheFingerprint)
{
    std::string text(41, 'a');
    const unsigned long long original = TextFingerprint(text.data(), text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        std::string changed = text;
        changed[at] = 'b';
        EXPECT_NE(original, TextFingerprint(changed.data(), changed.size())) << at;
    }
    std::string longer = text + '\0';
    EXPECT_NE(original, TextFingerprint(longer.data(), longer.size()));
    EXPECT_EQ(original, TextFingerprint(text.data(), text.size()));
}

} // namespace
