// Saving and loading as inverse operations: random tables survive a save and a
// load unchanged, and any file, once saved, is saved again byte for byte.
#include "app/ProgramObjects.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "support/AppState.h"
#include "support/CivilDate.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <stdio.h>

namespace {

// A reminder as the reminder dialog fills it, built with this file's own
// date arithmetic and text forms.
ReminderEntry MakeEntry(int annual, int year, int month, int day, int hasTime, int hour,
                        int minute, const std::string& text)
{
    ReminderEntry e = {};
    if (annual) {
        int before = month < today.month || (month == today.month && day < today.day);
        year = today.year + before;
    }
    e.annual = (uint32_t)annual;
    e.hasTime = hasTime;
    e.isToday = year == today.year && month == today.month && day == today.day;
    e.dayOfWeek = (uint32_t)Weekday(year, month, day);
    snprintf(e.dateText, sizeof e.dateText, "%02d/%02d/%02d", month, day, year % 100);
    snprintf(e.sortKey, sizeof e.sortKey, "%04d%02d%02d", year, month, day);
    if (hasTime)
        snprintf(e.timeText, sizeof e.timeText, "%02d:%02d %s", hour % 12 == 0 ? 12 : hour % 12,
                 minute, hour < 12 ? "AM" : "PM");
    CopyText(e.text, sizeof e.text, text.c_str());
    return e;
}

// What a record is to the user: everything the list and the file show.
typedef std::tuple<std::string, uint32_t, int32_t, std::string, std::string, std::string,
                   uint32_t, uint32_t>
    Shown;

Shown ShownOf(const ReminderEntry& e)
{
    return Shown(e.sortKey, e.annual, e.hasTime, e.dateText, e.hasTime ? e.timeText : "", e.text,
                 e.dayOfWeek, e.isToday);
}

std::vector<Shown> TableAsShown()
{
    std::vector<Shown> shown;
    for (int i = 0; i < theApp.entryCount; ++i)
        shown.push_back(ShownOf(entryTable.records[i]));
    return shown;
}

// Equal files, or the first line where they part.
::testing::AssertionResult SameFile(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    size_t line = expected.rfind('\n', at == 0 ? 0 : at - 1);
    line = line == std::string::npos ? 0 : line + 1;
    auto lineAt = [line](const std::string& file) {
        return ::testing::PrintToString(file.substr(line, file.find('\n', line) - line));
    };
    return ::testing::AssertionFailure()
           << "line " << std::count(expected.begin(), expected.begin() + line, '\n') + 1
           << " was " << lineAt(expected) << ", is " << lineAt(actual);
}

class RoundTrip : public ProgramWindowTest {
protected:
    // Puts the records into the table as Add does, one after another.
    void Fill(const std::vector<ReminderEntry>& entries)
    {
        LoadText("");
        ASSERT_EQ(1, theApp.BuildEntryTable());
        for (const ReminderEntry& e : entries) {
            entryTable.records[theApp.entryCount++] = e;
            if (theApp.entryCount == entryTable.capacity)
                entryTable.GrowTable();
            ASSERT_LT(theApp.entryCount, entryTable.capacity);
        }
        theApp.modified = 1;
        theApp.RefreshList();
    }

    std::string Save()
    {
        EXPECT_EQ(1, theApp.SaveDataFile());
        return ReadFileText(theApp.dataFilePath);
    }

    // Start-up's way in: the file on disk, read whole, then the table.
    void LoadFile()
    {
        ASSERT_EQ(1, theApp.LoadDataFile());
        ASSERT_EQ(1, theApp.BuildEntryTable());
    }

};

// The format holds any byte in a text but the line ends (CR, LF) and NUL,
// none of them printable; only a leading blank is lost, since the reader
// skips the blanks before a text. A text that looks like a time cannot be
// taken for one: the writer puts a space, never a TAB, before the text.
std::string RandomText(std::mt19937& random)
{
    static const char* const tricky[] = {"9:30 Meeting", "12:00", "3 Kings", "2:30PM Walk",
                                         "A", "P.M. tea", "/slash", "-5 degrees", "M\tTab"};
    std::uniform_int_distribution<int> kind(0, 9);
    std::string text;
    if (kind(random) == 0)
        text = tricky[std::uniform_int_distribution<int>(0, 8)(random)];
    std::uniform_int_distribution<int> length(1, 83), byte(32, 255);
    for (int n = length(random); (int)text.size() < n;)
        text += (char)byte(random);
    text.resize(std::min<size_t>(text.size(), 83));
    if (text[0] == ' ')
        text[0] = '_';
    return text;
}

ReminderEntry RandomEntry(std::mt19937& random)
{
    std::uniform_int_distribution<int> coin(0, 1), month(1, 12), year(1998, 2050), hour(0, 23),
        minute(0, 59);
    int annual = coin(random);
    int y = year(random), m = month(random);
    // An annual date is a day of any year, 29 February included.
    int d = std::uniform_int_distribution<int>(1, annual ? DaysIn(2000, m) : DaysIn(y, m))(random);
    return MakeEntry(annual, y, m, d, coin(random), hour(random), minute(random),
                     RandomText(random));
}

TEST_F(RoundTrip, RandomTablesComeBackFromTheFileUnchanged)
{
    const DateRecord todays[] = {MakeDate(2006, 12, 7), MakeDate(2008, 2, 29),
                                 MakeDate(2007, 2, 28), MakeDate(2050, 12, 31),
                                 MakeDate(1998, 1, 1)};
    // Every byte of 32..255 is in some text.
    std::vector<ReminderEntry> allBytes;
    for (int first = 33; first <= 255; first += 80) {
        std::string text;
        for (int c = first; c < first + 80 && c <= 255; ++c)
            text += (char)c;
        allBytes.push_back(MakeEntry(0, 2007, 1, 5, 1, 0, 5, text.insert(40, " ")));
    }
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        today = todays[seed % 5];
        std::vector<ReminderEntry> entries = allBytes;
        int count = std::uniform_int_distribution<int>(0, 260)(random);
        for (int i = 0; i < count; ++i)
            entries.push_back(RandomEntry(random));
        Fill(entries);
        std::vector<Shown> before = TableAsShown();
        std::string saved = Save();

        LoadFile();
        std::vector<Shown> after = TableAsShown();
        EXPECT_TRUE(std::is_sorted(after.begin(), after.end(),
                                   [](const Shown& a, const Shown& b) {
                                       return std::get<0>(a) < std::get<0>(b);
                                   }));
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i)
            ASSERT_EQ(before[i], after[i]) << "record " << i << " of " << before.size();
        EXPECT_TRUE(SameFile(saved, Save())) << "the loaded table was saved differently";
    }
}

// A data file as people and other programs leave it: lines with dates of
// every form, good and broken times, stray bytes, blank and broken lines.
std::string RandomFile(std::mt19937& random)
{
    static const char* const dates[] = {
        "12/25", "7/4", "02/29", "2/30", "03/15/07", "1/5/7", "12-25-06", "12:25:06", "12/25/2006",
        "12/25/97", "12/25/98", "12/25/50", "12/25/51", "12/25/", "4/31/06", "13/40/06", "00/00/00",
        "123456/999999/7777777", "1225", "555", "9", "12/25/65535", "99/99/99", "1/1/-5", "12//"};
    static const char* const times[] = {"14:30", "0:05", "12:05", "2:30PM", "12:15AM", "2:30P",
                                        "9:00A", "25:00", "7:60", "7", "7-30", "1::", "99999:1",
                                        "12:30PMX", ":", "AM", "A1:2"};
    static const char* const between[] = {" ", "\t", "  ", "\t \t", "", "\t\t"};
    static const char* const ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\n"};
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    std::uniform_int_distribution<int> lines(0, 60), length(0, 100), byte(1, 255), how(0, 19);
    std::string file;
    for (int n = lines(random); n > 0; --n) {
        int k = how(random);
        if (k == 0)
            file += "no date on this line";
        else if (k == 1)
            file += "  ** ";
        if (k > 0) {
            file += dates[pick(sizeof dates / sizeof *dates)];
            file += between[pick(sizeof between / sizeof *between)];
            if (how(random) < 8)
                file += std::string(times[pick(sizeof times / sizeof *times)]) +
                        between[pick(sizeof between / sizeof *between)];
        }
        for (int t = length(random); t > 0; --t)
            file += (char)byte(random);
        file += ends[pick(sizeof ends / sizeof *ends)];
    }
    return file;
}

TEST_F(RoundTrip, AnyFileOnceSavedIsSavedAgainByteForByte)
{
    ModalAnswerer answerer;
    std::string longest;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::string file = RandomFile(random);
        ASSERT_TRUE(WriteFileText(theApp.dataFilePath, file));
        LoadFile();
        std::string first = Save();
        EXPECT_TRUE(SameFile(first, Save())) << "two saves of one table differ";
        LoadFile();
        ASSERT_TRUE(SameFile(first, Save())) << "from the file " << ::testing::PrintToString(file);
        if (first.size() > longest.size())
            longest = first;
    }
    EXPECT_TRUE(answerer.Answered().empty());
    EXPECT_GT(std::count(longest.begin(), longest.end(), '\n'), 20) << "the files held few reminders";
}

} // namespace
