// The reminder dialog on its real window: what it shows when it opens, what
// OK stores in workEntry, what it refuses, the calendar's keys and focus, and
// the Add and Edit commands.
#include "app/ProgramObjects.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

using ::Type;

Step Type(const std::string& text)
{
    return Type(IDC_REMINDER_TEXT, text);
}

struct Shown {
    std::string title;
    std::string month; // the calendar's month list
    std::string year;  // the calendar's year list
    int day;           // the calendar's selected day
    int yearListEnabled;
    int everyYear;
    int includeTime;
    int timeEnabled;   // all four time controls; -1 when they disagree
    std::string hour, minute;
    int am, pm;
    std::string text;

    auto Fields() const
    {
        return std::tie(title, month, year, day, yearListEnabled, everyYear, includeTime,
                        timeEnabled, hour, minute, am, pm, text);
    }
    bool operator==(const Shown& o) const { return Fields() == o.Fields(); }
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << s.title << ": " << s.month << " " << s.year << " day " << s.day << " (year list "
               << s.yearListEnabled << ", every year " << s.everyYear << "), include time "
               << s.includeTime << " (enabled " << s.timeEnabled << ") " << s.hour << ":"
               << s.minute << " am " << s.am << " pm " << s.pm << ", text \"" << s.text << "\"";
}

Shown Read(HWND dialog)
{
    auto enabled = [](HWND control) { return IsWindowEnabled(control) ? 1 : 0; };
    auto checked = [dialog](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; };
    HWND calendar = Calendar(dialog), years = GetDlgItem(calendar, kYearSelectorId);
    int time = enabled(GetDlgItem(dialog, IDC_HOUR));
    for (int id : {IDC_MINUTE, IDC_AM, IDC_PM})
        if (enabled(GetDlgItem(dialog, id)) != time)
            time = -1;
    return {LocalText(dialog), ComboItem(GetDlgItem(calendar, kMonthSelectorId)), ComboItem(years),
            reminderDialog.calendar.date.day, enabled(years), checked(IDC_EVERY_YEAR),
            checked(IDC_INCLUDE_TIME), time, ComboItem(GetDlgItem(dialog, IDC_HOUR)),
            ComboItem(GetDlgItem(dialog, IDC_MINUTE)), checked(IDC_AM), checked(IDC_PM),
            LocalText(GetDlgItem(dialog, IDC_REMINDER_TEXT))};
}

Step Look(Shown* into)
{
    return [into](HWND dialog) { *into = Read(dialog); };
}

// A list's entries, separated by ", ".
std::string ListTexts(HWND combo)
{
    std::string texts;
    int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        texts += (i ? ", " : "") + ComboItem(combo, i);
    return texts;
}

const char kNoText[] = "Tarvendel: You must have a reminder";

void SetToday(int year, int month, int day)
{
    today = MakeDate(year, month, day);
    today.dayOfWeek = (uint16_t)DayOfWeek(year, month, day);
}

// The record that loading one line of the data file gives today.
ReminderEntry Loaded(const std::string& line)
{
    LoadText(line + "\r\n");
    EXPECT_EQ(1, theApp.BuildEntryTable());
    EXPECT_EQ(1, theApp.entryCount);
    return entryTable.records[0];
}

// The fields that place a reminder in the list and the file.
std::string DatePart(unsigned annual, unsigned isToday, unsigned dayOfWeek,
                     const std::string& dateText, const std::string& sortKey)
{
    return "annual " + std::to_string(annual) + ", isToday " + std::to_string(isToday) +
           ", weekday " + std::to_string(dayOfWeek) + ", " + dateText + ", " + sortKey;
}
std::string DatePart(const ReminderEntry& e)
{
    return DatePart(e.annual, e.isToday, e.dayOfWeek, e.dateText, e.sortKey);
}

class ReminderDialogs : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ProgramWindowTest::SetUp();
        // Whatever a run leaves unset shows up as this.
        memset(&workEntry, 'X', sizeof workEntry);
        workEntry.timeText[sizeof workEntry.timeText - 1] = '\0';
    }

    // The entry being edited, as Edit prepares workDate and workEntry.
    void Prepare(int year, int month, int day, int hour, int minute, int annual, int hasTime,
                 const char* text)
    {
        theApp.workDate = MakeDate(year, month, day);
        theApp.workDate.hour = (uint16_t)hour;
        theApp.workDate.minute = (uint16_t)minute;
        workEntry.annual = (uint32_t)annual;
        workEntry.hasTime = hasTime;
        CopyText(workEntry.text, sizeof workEntry.text, text);
    }

    // A dialog that closes before its script has run, or stays open after
    // it, is a failure.
    int Drive(const std::function<int()>& open, const std::vector<Step>& steps)
    {
        driver.graceTicks = 25;
        int result = driver.Run(open, steps);
        EXPECT_EQ(steps.size(), driver.stepsRun) << "the dialog closed before its script had run";
        EXPECT_EQ(0, driver.leftOpen) << "the dialog was still open after its script";
        return result;
    }
    int RunDialog(int isAdd, int askTime, const std::vector<Step>& steps)
    {
        return Drive(
            [=] { return RunReminderDialog(theApp.window, isAdd, askTime, &theApp.workDate); },
            steps);
    }
    int RunCommand(void (Application::*command)(), const std::vector<Step>& steps)
    {
        return Drive([=] { (theApp.*command)(); return 0; }, steps);
    }

    DialogDriver driver;
};

TEST_F(ReminderDialogs, AddOpensOnTheWorkDateWithTheTimeOfferedOnlyWhenAskTimeIsSet)
{
    for (int askTime = 0; askTime <= 1; ++askTime) {
        SCOPED_TRACE(askTime);
        // hasTime as an earlier Edit may have left it: Add goes by AskTime alone.
        Prepare(2006, 12, 7, 18, 0, 0, 1, "");
        ReminderEntry before = workEntry;
        Shown s;
        std::string hours, minutes;
        EXPECT_EQ(0, RunDialog(1, askTime, {Look(&s), [&](HWND dialog) {
                                                hours = ListTexts(GetDlgItem(dialog, IDC_HOUR));
                                                minutes = ListTexts(GetDlgItem(dialog, IDC_MINUTE));
                                            }, Press(IDCANCEL)}));
        EXPECT_EQ(0, memcmp(&before, &workEntry, sizeof workEntry)) << "Cancel filled workEntry";
        EXPECT_TRUE(driver.boxes.empty());
        EXPECT_EQ((Shown{"Add", "December", "2006", 7, 1, 0, askTime, askTime, "6", "0", 0, 1, ""}),
                  s);
        EXPECT_EQ("1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12", hours);
        EXPECT_EQ("0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55", minutes);
    }
}

TEST_F(ReminderDialogs, EditShowsTheTimeOnTheTwelveHourClockAndOkStoresItBack)
{
    const struct {
        int hour, minute;
        const char* shownHour;
        const char* shownMinute;
        int pm;
        const char* stored;
    } cases[] = {
        {0, 30, "12", "30", 0, "12:30 AM"},
        {12, 15, "12", "15", 1, "12:15 PM"},
        {23, 55, "11", "55", 1, "11:55 PM"},
        {7, 7, "7", "5", 0, "07:05 AM"}, // minutes show in steps of five
        {13, 0, "1", "0", 1, "01:00 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Prepare(2007, 3, 15, c.hour, c.minute, 0, 1, "Dentist");
        workEntry.removed = 1;
        Shown s;
        ASSERT_EQ(1, RunDialog(0, 0, {Look(&s), Press(IDOK)}));
        EXPECT_EQ((Shown{"Edit", "March", "2007", 15, 1, 0, 1, 1, c.shownHour, c.shownMinute,
                         1 - c.pm, c.pm, "Dentist"}),
                  s);
        EXPECT_EQ(1, workEntry.hasTime);
        EXPECT_STREQ(c.stored, workEntry.timeText);
        EXPECT_EQ(DatePart(0, 0, 4, "03/15/07", "20070315"), DatePart(workEntry)); // a Thursday
        EXPECT_EQ(0u, workEntry.removed);
        EXPECT_STREQ("Dentist", workEntry.text);
        EXPECT_TRUE(driver.boxes.empty());
    }

    // Edit goes by the entry alone: AskTime does not add a time to it.
    Prepare(2007, 3, 15, 6, 30, 0, 0, "Dentist");
    CopyText(workEntry.timeText, sizeof workEntry.timeText, "untouched");
    Shown s;
    ASSERT_EQ(1, RunDialog(0, 1, {Look(&s), Press(IDOK)}));
    EXPECT_EQ(0, s.includeTime);
    EXPECT_EQ(0, s.timeEnabled);
    EXPECT_EQ(0, workEntry.hasTime);
    EXPECT_STREQ("untouched", workEntry.timeText);
}

TEST_F(ReminderDialogs, TheYearIsTheOneItsTwoDigitsName)
{
    // "12/25/2006" in a hand-written file loads with the year 4006; once
    // confirmed in the dialog it is a reminder of 2006 and sorts as one.
    Prepare(4006, 12, 25, 6, 30, 0, 0, "Christmas");
    ASSERT_EQ(1, RunDialog(0, 0, {Press(IDOK)}));
    // 25 December 2006 was a Monday.
    EXPECT_EQ(DatePart(0, 0, 1, "12/25/06", "20061225"), DatePart(workEntry));
}

TEST_F(ReminderDialogs, ATimeIsStoredOnlyWhenIncludeTimeIsChecked)
{
    const struct {
        int askTime;
        bool toggle;   // the user clicks "Include time"
        int hour, minute;
        int hasTime;
        const char* timeText;
    } cases[] = {
        {0, true, 0, 55, 1, "12:55 AM"},
        {0, true, 12, 0, 1, "12:00 PM"},
        {1, false, 21, 45, 1, "09:45 PM"},
        {1, true, 9, 0, 0, "untouched"},
        {0, false, 9, 0, 0, "untouched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.timeText) + " " + std::to_string(c.hour));
        Prepare(2006, 12, 7, 18, 0, 0, 0, "");
        CopyText(workEntry.timeText, sizeof workEntry.timeText, "untouched");
        Shown s;
        std::vector<Step> steps = {Look(&s), PickTime(c.hour, c.minute), Type("Call home"),
                                   Press(IDOK)};
        if (c.toggle)
            steps.insert(steps.begin(), Click(IDC_INCLUDE_TIME));
        ASSERT_EQ(1, RunDialog(1, c.askTime, steps));
        EXPECT_EQ(c.hasTime, s.timeEnabled); // the lists follow the check box
        EXPECT_EQ(c.hasTime, workEntry.hasTime);
        EXPECT_STREQ(c.timeText, workEntry.timeText);
        EXPECT_EQ(DatePart(0, 1, 4, "12/07/06", "20061207"), DatePart(workEntry));
        EXPECT_STREQ("Call home", workEntry.text);
    }
}

TEST_F(ReminderDialogs, RemindEveryYearCountsFromTodayAndLocksTheYearList)
{
    SetToday(2006, 12, 31);
    const struct {
        int month, day;
        const char* dateText;
        const char* sortKey;
        unsigned dayOfWeek;
        unsigned isToday;
    } cases[] = {
        {12, 31, "12/31/06", "20061231", 0, 1}, // today itself stays in this year
        {1, 1, "01/01/07", "20070101", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dateText);
        Prepare(2006, 12, 31, 18, 0, 0, 0, "");
        Shown locked, unlocked, relocked;
        ASSERT_EQ(1, RunDialog(1, 0,
                               {Click(IDC_EVERY_YEAR), Look(&locked), Click(IDC_EVERY_YEAR),
                                Look(&unlocked), PickDate(0, c.month, c.day), Click(IDC_EVERY_YEAR),
                                Look(&relocked), Type("New year"), Press(IDOK)}));
        EXPECT_EQ(1, locked.everyYear);
        EXPECT_EQ(0, locked.yearListEnabled);
        EXPECT_EQ(1, unlocked.yearListEnabled);
        EXPECT_EQ(0, relocked.yearListEnabled);
        EXPECT_EQ("2006", relocked.year);
        EXPECT_EQ(DatePart(1, c.isToday, c.dayOfWeek, c.dateText, c.sortKey), DatePart(workEntry));
        ReminderEntry entered = workEntry;
        EXPECT_EQ(DatePart(Loaded(std::string(c.dateText, 5) + " New year")), DatePart(entered));
    }
}

TEST_F(ReminderDialogs, OkWithoutTextIsRefusedAndKeepsWhatWasEntered)
{
    Prepare(2006, 12, 7, 18, 0, 0, 0, "");
    Shown after;
    int result = RunDialog(1, 0,
                           {PickDate(0, 12, 15), Click(IDC_INCLUDE_TIME), PickTime(9, 30),
                            Press(IDOK), Look(&after), Press(IDOK), Press(IDCANCEL)});
    EXPECT_EQ(0, result);
    EXPECT_EQ(std::vector<std::string>(2, kNoText), driver.boxes);
    EXPECT_EQ((Shown{"Add", "December", "2006", 15, 1, 0, 1, 1, "9", "30", 1, 0, ""}), after);
}

TEST_F(ReminderDialogs, BlanksBeforeATextAreDroppedAndBlanksAloneAreNoReminder)
{
    const struct {
        const char* typed;
        const char* stored; // null: refused
    } cases[] = {{"   Dentist", "Dentist"}, {"\t Dentist  ", "Dentist  "}, {"  ", NULL}, {"\t", NULL}};
    for (const auto& c : cases) {
        Prepare(2006, 12, 7, 18, 0, 0, 0, "");
        std::vector<Step> steps = {Type(c.typed), Press(IDOK)};
        if (c.stored == NULL)
            steps.push_back(Press(IDCANCEL));
        int result = RunDialog(1, 0, steps);
        EXPECT_EQ(c.stored != NULL, result) << c.typed;
        EXPECT_EQ(c.stored != NULL ? std::vector<std::string>() : std::vector<std::string>{kNoText},
                  driver.boxes) << c.typed;
        if (c.stored != NULL) {
            EXPECT_STREQ(c.stored, workEntry.text);
        }
    }
}

TEST_F(ReminderDialogs, TheTextTakesEightyTypedCharactersAndKeepsALongerLoadedOne)
{
    const std::string eighty(80, 'a');
    Prepare(2006, 12, 7, 18, 0, 0, 0, "");
    std::string typed;
    LRESULT limit = 0;
    ASSERT_EQ(1, RunDialog(1, 0,
                           {Type(eighty.substr(0, 79)),
                            [&](HWND dialog) {
                                HWND edit = GetDlgItem(dialog, IDC_REMINDER_TEXT);
                                limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
                                SendMessageA(edit, EM_SETSEL, 79, 79);
                                SendMessageA(edit, WM_CHAR, 'a', 1); // the 80th
                                SendMessageA(edit, WM_CHAR, 'b', 1); // the 81st
                                typed = LocalText(edit);
                            },
                            Press(IDOK)}));
    EXPECT_EQ(80, limit);
    EXPECT_EQ(eighty, typed);
    EXPECT_EQ(eighty, workEntry.text);

    // A hand-written file holds texts of up to 83 characters; editing the
    // date alone must not cut them.
    const std::string loaded = eighty + "xyz";
    Prepare(2007, 3, 15, 18, 0, 0, 0, loaded.c_str());
    ASSERT_EQ(1, RunDialog(0, 0, {PickDate(0, 3, 16), Press(IDOK)}));
    EXPECT_EQ(loaded, workEntry.text);
    EXPECT_STREQ("03/16/07", workEntry.dateText);
}

TEST_F(ReminderDialogs, ABadDateIsReportedBeforeAMissingText)
{
    // The year list reaches beyond 2050, which a two-digit year cannot name.
    SetToday(2050, 6, 15);
    Prepare(2050, 6, 15, 18, 0, 0, 0, "");
    EXPECT_EQ(0, RunDialog(1, 0,
                           {PickDate(2051, 6, 15), Press(IDOK), Type("Far ahead"), Press(IDOK),
                            PickDate(2050, 6, 15), Type(""), Press(IDOK), Press(IDCANCEL)}));
    EXPECT_EQ((std::vector<std::string>{"Tarvendel: Invalidate date\n06/15/51",
                                        "Tarvendel: Invalidate date\n06/15/51",
                                        kNoText}),
              driver.boxes);

    // A one-off 29 February of a common year, as a hand-written file can hold it.
    SetToday(2023, 1, 10);
    Prepare(2023, 2, 29, 18, 0, 0, 0, "Leap birthday");
    EXPECT_EQ(1, RunDialog(0, 0, {Press(IDOK), PickDate(0, 2, 28), Press(IDOK)}));
    EXPECT_EQ((std::vector<std::string>{"Tarvendel: Invalidate date\n02/29/23"}), driver.boxes);
    EXPECT_STREQ("02/28/23", workEntry.dateText); // once a day that exists is picked
}

TEST_F(ReminderDialogs, AnAnnualLeapDayIsStoredAsLoadingTheFileWouldStoreIt)
{
    const struct {
        int year, month, day; // today
        const char* dateText;
        unsigned isToday;
    } cases[] = {
        {2023, 1, 10, "02/29/23", 0}, // next occurrence in a common year: 1 March's weekday
        {2023, 6, 1, "02/29/24", 0},
        {2024, 2, 29, "02/29/24", 1},
        {2024, 3, 1, "02/29/25", 0},
        {2027, 12, 31, "02/29/28", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dateText);
        SetToday(c.year, c.month, c.day);
        ReminderEntry loaded = Loaded("02/29 Leap birthday");
        Prepare(c.year, c.month, c.day, 18, 0, 0, 0, "");
        int leapYear = NextLeapYear(c.year);
        ASSERT_EQ(1, RunDialog(1, 0,
                               {PickDate(leapYear, 2, 29), Click(IDC_EVERY_YEAR),
                                Type("Leap birthday"), Press(IDOK)}));
        EXPECT_TRUE(driver.boxes.empty());
        int year = 2000 + atoi(c.dateText + 6);
        EXPECT_EQ(DatePart(1, c.isToday, DayOfWeek(year, 2, 29), c.dateText,
                           std::to_string(year) + "0229"),
                  DatePart(workEntry));
        EXPECT_EQ(DatePart(loaded), DatePart(workEntry));
    }
}

TEST_F(ReminderDialogs, AddPutsTheNewReminderInTheListAndTheFile)
{
    LoadText("12/25 Christmas\r\n");
    ASSERT_EQ(1, theApp.BuildEntryTable());
    theApp.AskTime = 1;
    Shown s;
    RunCommand(&Application::AddReminder,
               {Look(&s), PickDate(2007, 3, 15), PickTime(14, 30), Type("Dentist"), Press(IDOK)});
    // Add proposes 18:00.
    EXPECT_EQ((Shown{"Add", "December", "2006", 7, 1, 0, 1, 1, "6", "0", 0, 1, ""}), s);
    ASSERT_EQ(2, theApp.entryCount);
    EXPECT_EQ(1, theApp.modified);
    EXPECT_EQ(2, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
    char line[140] = "";
    SendMessageA(listBox.window, LB_GETTEXT, 1, (LPARAM)line);
    EXPECT_STREQ("Thu  03/15/07  02:30 PM  Dentist", line);
    EXPECT_EQ(1, theApp.SaveDataFile());
    EXPECT_EQ("12/25 Christmas\r\n03/15/07\t14:30 Dentist\r\n", ReadFileText(theApp.dataFilePath));

    // Cancel, also after a refused OK, adds nothing.
    theApp.modified = 0;
    RunCommand(&Application::AddReminder, {Type(""), Press(IDOK), Press(IDCANCEL)});
    EXPECT_EQ(2, theApp.entryCount);
    EXPECT_EQ(0, theApp.modified);
    EXPECT_EQ(std::vector<std::string>{kNoText}, driver.boxes);
}

TEST_F(ReminderDialogs, EditingALeapDayBirthdayOpensOnTheNextLeapDayAndSavesItYearless)
{
    const struct {
        int year, month, day; // today
        const char* calendarYear;
    } cases[] = {
        {2023, 1, 10, "2024"},
        {2023, 3, 1, "2024"},
        {2024, 2, 29, "2024"},
        {2024, 3, 1, "2028"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.calendarYear);
        SetToday(c.year, c.month, c.day);
        const ReminderEntry loaded = Loaded("02/29 Leap birthday");
        const struct {
            const char* typed; // null: no change
            std::vector<int> presses;
            int refusals;      // "You must have a reminder" shown
            const char* saved;
        } edits[] = {
            {NULL, {IDOK}, 0, "02/29 Leap birthday\r\n"},
            {"Leap day party", {IDOK}, 0, "02/29 Leap day party\r\n"},
            {"Cancelled", {IDCANCEL}, 0, "02/29 Leap birthday\r\n"},
            {"", {IDOK, IDCANCEL}, 1, "02/29 Leap birthday\r\n"},
        };
        for (const auto& e : edits) {
            LoadText("02/29 Leap birthday\r\n");
            ASSERT_EQ(1, theApp.BuildEntryTable());
            SendMessageA(listBox.window, LB_SETCURSEL, 0, 0);
            Shown s;
            std::vector<Step> steps = {Look(&s)};
            if (e.typed != NULL)
                steps.push_back(Type(e.typed));
            for (int id : e.presses)
                steps.push_back(Press(id));
            RunCommand(&Application::EditReminder, steps);
            EXPECT_EQ((size_t)e.refusals, driver.boxes.size());
            // No time: which hour the unused lists show is not at issue.
            EXPECT_EQ((Shown{"Edit", "February", c.calendarYear, 29, 0, 1, 0, 0, s.hour, s.minute,
                             s.am, s.pm, "Leap birthday"}),
                      s);
            EXPECT_EQ(e.presses.back() == IDOK, theApp.modified);
            EXPECT_EQ(DatePart(loaded), DatePart(entryTable.records[0]));
            EXPECT_EQ(1, theApp.SaveDataFile());
            EXPECT_EQ(e.saved, ReadFileText(theApp.dataFilePath));
        }
    }
}

// Each case loads the calendar in the open dialog, puts the focus on it and
// posts the key, so that the dialog's own key handling comes first.
TEST_F(ReminderDialogs, TheCalendarKeysMoveTheDayAndTheListsFollow)
{
    const struct {
        WPARAM key;
        int year, month, day, locked;
        int listedFrom; // the year list's first year, when not two before year
        const char* shown; // in the lists and the grid
    } cases[] = {
        {VK_LEFT, 2007, 12, 25, 0, 0, "2007-12-24"},    {VK_HOME, 2007, 12, 25, 0, 0, "2007-12-01"},
        {VK_RIGHT, 2007, 12, 31, 0, 0, "2008-01-01"},   {VK_RIGHT, 2007, 12, 31, 1, 0, "2007-01-01"},
        {VK_LEFT, 2007, 1, 1, 0, 0, "2006-12-31"},      {VK_LEFT, 2007, 1, 1, 1, 0, "2007-12-31"},
        {VK_UP, 2007, 3, 5, 0, 0, "2007-02-26"},        {VK_DOWN, 2008, 2, 26, 0, 0, "2008-03-04"},
        {VK_UP, 2007, 1, 3, 1, 0, "2007-12-27"},        {VK_DOWN, 2007, 12, 28, 0, 0, "2008-01-04"},
        {VK_NEXT, 2007, 1, 31, 0, 0, "2007-02-28"},     {VK_NEXT, 2008, 1, 31, 0, 0, "2008-02-29"},
        {VK_PRIOR, 2007, 3, 31, 0, 0, "2007-02-28"},    {VK_END, 2007, 2, 10, 0, 0, "2007-02-28"},
        {VK_PRIOR, 2007, 1, 15, 0, 0, "2006-12-15"},    {VK_PRIOR, 2007, 1, 15, 1, 0, "2007-12-15"},
        {VK_NEXT, 2007, 12, 31, 1, 0, "2007-01-31"},    // locked years wrap; none leaves the list:
        {VK_LEFT, 2005, 1, 1, 0, 2005, "2005-01-01"},   {VK_PRIOR, 2005, 1, 20, 0, 2005, "2005-01-20"},
        {VK_DOWN, 2014, 12, 28, 0, 2005, "2014-12-28"}, {VK_RIGHT, 2014, 12, 30, 0, 2005, "2014-12-31"},
    };
    std::vector<std::string> shown;
    std::vector<Step> steps;
    for (const auto& c : cases) {
        steps.push_back([&c](HWND dialog) {
            CalendarControl& calendar = reminderDialog.calendar;
            int listedFrom = c.listedFrom ? c.listedFrom : c.year - 2;
            calendar.SetDate(MakeDate(listedFrom + 2, c.month, c.day));
            ChooseInList(dialog, kYearSelectorId, c.year - listedFrom);
            if (IsDlgButtonChecked(dialog, IDC_EVERY_YEAR) != (UINT)c.locked)
                Click(IDC_EVERY_YEAR)(dialog);
            SetFocus(Calendar(dialog));
            PostMessageA(Calendar(dialog), WM_KEYDOWN, c.key, 1);
        });
        steps.push_back([&shown](HWND dialog) {
            HWND months = GetDlgItem(Calendar(dialog), kMonthSelectorId);
            char text[16];
            snprintf(text, sizeof text, "%s-%02d-%02d", Read(dialog).year.c_str(),
                     (int)SendMessageA(months, CB_GETCURSEL, 0, 0) + 1,
                     reminderDialog.calendar.date.day);
            shown.push_back(text);
        });
    }
    steps.push_back(Press(IDCANCEL));
    Prepare(2007, 12, 25, 18, 0, 0, 0, "");
    RunDialog(1, 0, steps);
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(cases[i].shown, shown[i]) << "case " << i;
}

// 1 when the top edge of the selected day's cell is dotted (every other one of
// its 19 pixels inverted, where the systems may differ by one), 0 when plain;
// negative while another control has the focus.
void CountFocusDots(HWND dialog, std::vector<int>* dots)
{
    const CalendarControl& calendar = reminderDialog.calendar;
    RECT cell = calendar.CellOf(calendar.date.day);
    int left = cell.left, top = cell.top, n = 0;
    HDC dc = GetDC(Calendar(dialog));
    for (int x = left; x < left + 19; ++x)
        n += GetPixel(dc, x, top) != GetSysColor(COLOR_HIGHLIGHT);
    ReleaseDC(Calendar(dialog), dc);
    dots->push_back((GetFocus() == Calendar(dialog) ? 1 : -1) * (n >= 9 ? 1 : n == 0 ? 0 : 2));
}

// A click gives the calendar the focus without its rectangle, as on the
// system's controls; the first key shows it.
TEST_F(ReminderDialogs, TheSelectedDayShowsTheFocusOnlyWhileTheCalendarHasItAndTheKeysAreInUse)
{
    std::vector<int> dots;
    Step count = [&dots](HWND dialog) { CountFocusDots(dialog, &dots); };
    Prepare(2007, 12, 25, 18, 0, 0, 0, "Party");
    Step down = [](HWND dialog) { PostMessageA(Calendar(dialog), WM_KEYDOWN, VK_DOWN, 1); };
    Step leave = [](HWND dialog) { SetFocus(GetDlgItem(dialog, IDOK)); };
    // The click on the 20th gives the focus; Down moves it to the 27th.
    // As Windows tells a dialog opened by mouse (Wine keeps the cues shown).
    Step byMouse = [](HWND dialog) {
        SendMessageA(Calendar(dialog), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    };
    ASSERT_EQ(1, RunDialog(0, 0, {byMouse, count, PickDate(0, 12, 20), count, down, count, leave, count,
                                  Press(IDOK)}));
    EXPECT_EQ((std::vector<int>{0, 0, 1, 0}), dots);
    EXPECT_STREQ("12/27/07", workEntry.dateText); // the day the key chose
}

// Holds Shift (and Tab, as a real key press does) while the next keys are
// handled, or lets both go.
void HoldShiftTab(int held)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_TAB] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Tab leads from the grid through the month and year lists and on; Shift+Tab
// back the same way; a locked year list is passed over.
TEST_F(ReminderDialogs, TabReachesTheCalendarsListsInTheDialogsOrder)
{
    auto name = [](HWND dialog) -> std::string {
        HWND focus = GetFocus(), calendar = Calendar(dialog);
        if (focus == calendar)
            return "grid";
        if (focus == GetDlgItem(calendar, kMonthSelectorId))
            return "month";
        if (focus == GetDlgItem(calendar, kYearSelectorId))
            return "year";
        return std::to_string(GetDlgCtrlID(focus));
    };
    for (int locked = 0; locked < 2; ++locked) {
        std::vector<std::string> seen;
        Step look = [&](HWND dialog) { seen.push_back(name(dialog)); };
        Step tab = [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1); };
        Step back = [](HWND) {
            HoldShiftTab(1);
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        };
        std::vector<Step> steps = {PickDate(0, 12, 20), look};
        for (int i = 0; i < 3; ++i)
            steps.insert(steps.end(), {tab, look});
        for (int i = 0; i < 4; ++i)
            steps.insert(steps.end(), {back, look});
        steps.push_back([](HWND) { HoldShiftTab(0); });
        steps.push_back(Press(IDCANCEL));
        Prepare(2007, 12, 25, 18, 0, locked, 0, "Party");
        RunDialog(0, 0, steps);
        HoldShiftTab(0);
        std::string first = std::to_string(IDC_EVERY_YEAR), cancel = std::to_string(IDCANCEL);
        std::vector<std::string> expected =
            locked ? std::vector<std::string>{"grid", "month", first, std::to_string(IDC_INCLUDE_TIME),
                                              first, "month", "grid", cancel}
                   : std::vector<std::string>{"grid", "month", "year", first, "year", "month", "grid",
                                              cancel};
        EXPECT_EQ(expected, seen) << "year locked " << locked;
    }
}

} // namespace
