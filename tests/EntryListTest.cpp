// Loading the reminders, the list lines, the status bar, and saving, against
// the real main window.
#include "app/OneWindow.h"
#include "app/ProgramObjects.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Over the data file in the per-user data folder, as the program finds it.
class EntryList : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ProgramWindowTest::SetUp();
        CreateDirectoryPath(DataFolderPath().c_str());
        CopyText(theApp.dataFolder, sizeof theApp.dataFolder, DataFolderPath().c_str());
        CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, DataFilePath().c_str());
        DeleteFileA(DataFilePath().c_str());
    }

    void Load(const std::string& file, int reminderMode = 0)
    {
        theApp.reminderMode = reminderMode;
        LoadText(file);
        ASSERT_EQ(1, theApp.BuildEntryTable());
    }

    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        int count = (int)SendMessageA(listBox.window, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char line[256] = "";
            SendMessageA(listBox.window, LB_GETTEXT, i, (LPARAM)line);
            lines.push_back(line);
        }
        return lines;
    }

    std::string Part(int index) { return StatusText(statusBar.window, index); }

    int Enabled(int commandId) { return IsWindowEnabled(GetDlgItem(buttonBar.window, commandId)); }

    std::string Saved()
    {
        EXPECT_EQ(1, theApp.SaveDataFile());
        return ReadFileText(DataFilePath());
    }
};

TEST_F(EntryList, LinesAreSortedByDateWithTimeColumnsAsChosen)
{
    const std::string file = "03/15/07\t14:30 Dentist\r\n12/25 Christmas\r\n01/10/07 Pay rent\r\n";
    theApp.TimeCol = 1;
    Load(file);
    EXPECT_EQ((std::vector<std::string>{"Mon  12/25/06            Christmas",
                                        "Wed  01/10/07            Pay rent",
                                        "Thu  03/15/07  02:30 PM  Dentist"}),
              Lines());
    theApp.TimeCol = 0;
    Load(file);
    EXPECT_EQ((std::vector<std::string>{"Mon  12/25/06  Christmas", "Wed  01/10/07  Pay rent",
                                        "Thu  03/15/07  02:30 PM  Dentist"}),
              Lines());
    // Each line carries the index of its record.
    EXPECT_EQ(2, SendMessageA(listBox.window, LB_GETITEMDATA, 2, 0));
    EXPECT_STREQ("Dentist", entryTable.records[2].text);
}

TEST_F(EntryList, ReminderModeListsTheNextRangeDaysAcrossTheNewYear)
{
    today = MakeDate(2006, 12, 30);
    today.dayOfWeek = 6;
    theApp.Range = 7;
    Load("01/02 New year visit\r\n12/29/06 Yesterday\r\n01/07/07 Beyond\r\n12/30/06 Today\r\n", 1);
    EXPECT_EQ((std::vector<std::string>{"Sat  12/30/06            Today",
                                        "Tue  01/02/07            New year visit"}),
              Lines());
    EXPECT_EQ("4", Part(2)); // every record counts, listed or not
    EXPECT_EQ("\tReminder mode", Part(1));
    EXPECT_FALSE(Enabled(IDM_ADD));
    EXPECT_FALSE(Enabled(IDM_EDIT));
    EXPECT_FALSE(Enabled(IDM_REMOVE));
    EXPECT_TRUE(Enabled(IDM_SAVE));

    theApp.ToggleMode();
    EXPECT_EQ(4u, Lines().size());
    EXPECT_EQ("\tEdit mode", Part(1));
    EXPECT_TRUE(Enabled(IDM_ADD));
    EXPECT_TRUE(Enabled(IDM_REMOVE));
    EXPECT_TRUE(entryTable.records[1].isToday);
}

TEST_F(EntryList, TheStatusBarShowsTheStartDateCountAndModified)
{
    Load("");
    EXPECT_EQ("Thursday, December 7, 2006", Part(0));
    EXPECT_EQ("0", Part(2));
    EXPECT_EQ("", Part(3));
    theApp.modified = 1;
    theApp.UpdateStatusBar();
    EXPECT_EQ("Mod", Part(3));
}

TEST_F(EntryList, TheTableGrowsAtItsHundredthRecord)
{
    std::string file;
    for (int i = 0; i < 99; ++i)
        file += "01/01 Entry\r\n";
    Load(file);
    EXPECT_EQ(100, entryTable.capacity);
    Load(file + "01/02 Hundredth\r\n");
    EXPECT_EQ(175, entryTable.capacity);
    EXPECT_EQ(100, theApp.entryCount);
}

TEST_F(EntryList, HandTypedLinesKeepTheirTextsAndTimesWithAMark)
{
    std::string file;
    std::vector<std::string> texts;
    const char* starts[] = {"Paul's birthday", "Anniversary", "Parade", "apples", "Mum & Dad"};
    for (int i = 0; i < 300; ++i) {
        char date[8];
        snprintf(date, sizeof date, "%02d/%02d", 1 + i % 12, 1 + i % 28);
        texts.push_back(std::string(starts[i % 5]) + " " + std::to_string(i));
        file += std::string(date) + "\t" + texts.back() + "\r\n";
    }
    Load(file + "07/04\t2:30PM Dentist\r\n07/05\t12:15AM Train\r\n");
    std::string saved = Saved();
    for (const std::string& text : texts)
        EXPECT_NE(std::string::npos, saved.find(" " + text + "\r\n")) << text;
    EXPECT_NE(std::string::npos, saved.find("07/04\t14:30 Dentist\r\n"));
    EXPECT_NE(std::string::npos, saved.find("07/05\t00:15 Train\r\n"));
    EXPECT_EQ(std::string::npos, saved.find("\tP"));
}

TEST_F(EntryList, SavedFilesHaveTheWritersExactForm)
{
    Load("");
    EXPECT_EQ("", Saved()); // an empty table gives a 0-byte file

    Load("12/25 Christmas\r\n07/04\t09:00 Parade\r\n01/10/07 Pay rent\r\n"
         "03/15/07\t14:30 Dentist\r\n06/01/07\t0:05 Early\r\n06/02/07\t12:05 Noon\r\n");
    const std::string expected = "12/25 Christmas\r\n01/10/07 Pay rent\r\n03/15/07\t14:30 Dentist\r\n"
                                 "06/01/07\t00:05 Early\r\n06/02/07\t12:05 Noon\r\n"
                                 "07/04\t09:00 Parade\r\n";
    EXPECT_EQ(expected, Saved());
    Load(expected);
    EXPECT_EQ(expected, Saved()); // and reads back to the same bytes
    EXPECT_EQ(0, theApp.modified);
}

TEST_F(EntryList, PastOneOffRemindersAreMarkedAndLeftOutOfTheNextSave)
{
    ModalAnswerer answerer;
    Load("12/06/06 Yesterday\r\n12/07/06 Today\r\n12/06 Annual\r\n01/01/07 Later\r\n");
    EXPECT_EQ(1, theApp.MarkOldEntries());
    EXPECT_EQ(4, theApp.entryCount);
    EXPECT_EQ("12/07/06 Today\r\n01/01/07 Later\r\n12/06 Annual\r\n", Saved());

    Load("12/06 Annual\r\n12/07/06 Today\r\n");
    EXPECT_EQ(0, theApp.MarkOldEntries());
    EXPECT_TRUE(answerer.Answered().empty());
}

TEST_F(EntryList, ALeapDayBirthdayCountsAsFirstMarchInACommonYear)
{
    ModalAnswerer answerer;
    today = MakeDate(2007, 2, 25);
    today.dayOfWeek = 0;
    theApp.Range = 4;
    Load("02/29 Leap birthday\r\n", 1);
    EXPECT_EQ(1u, Lines().size());
    EXPECT_TRUE(answerer.Answered().empty()); // no "Invalidate date" for it
    EXPECT_EQ("02/29 Leap birthday\r\n", Saved());
    // On 1 March itself it is today's reminder, listed and drawn as one.
    today = MakeDate(2007, 3, 1);
    theApp.Range = 1;
    Load("02/29 Leap birthday\r\n", 1);
    EXPECT_EQ(1u, Lines().size());
    EXPECT_EQ(1u, entryTable.records[0].isToday);
    EXPECT_STREQ("02/29/07", entryTable.records[0].dateText);
}

const char kMissedFile[] =
    "01/04/07 Coming\r\n12/30 Annual\r\n01/01/07\t09:00 New year\r\n12/29/06 Missed first\r\n"
    "12/20/06 Before the last shown day\r\n01/03/07 Today\r\n"
    "12/31/06\t10:00 Church\r\n12/31 Eve\r\n12/31\t08:00 Breakfast\r\n";

TEST_F(EntryList, MissedRemindersComeFirstWithTheirDayAndInTheirOwnColour)
{
    today = MakeDate(2007, 1, 3);
    today.dayOfWeek = 3;
    theApp.ShownDate = 20061228;
    theApp.Range = 3;
    Load(kMissedFile, 1);
    // Within a missed day as on any day: untimed first, then by time.
    EXPECT_EQ((std::vector<std::string>{"Fri  12/29/06            Missed first",
                                        "Sat  12/30/06            Annual",
                                        "Sun  12/31/06            Eve",
                                        "Sun  12/31/06  08:00 AM  Breakfast",
                                        "Sun  12/31/06  10:00 AM  Church",
                                        "Mon  01/01/07  09:00 AM  New year",
                                        "Wed  01/03/07            Today",
                                        "Thu  01/04/07            Coming"}),
              Lines());
    // Shown on the screen, they are missed no longer.
    EXPECT_EQ(20070103u, theApp.ShownDate);
    theApp.ToggleMode();
    EXPECT_EQ(9u, Lines().size());
    EXPECT_EQ("Sun  12/30/07            Annual", Lines()[6]);
    EXPECT_EQ("\tEdit mode", Part(1));
}

// A start by hand opens in Edit mode: what was missed is marked there and
// counted in the status bar, and stays missed (and kept) until the
// Reminder-mode list has shown it.
TEST_F(EntryList, EditModeMarksMissedRemindersWithoutUsingThemUp)
{
    today = MakeDate(2007, 1, 3);
    today.dayOfWeek = 3;
    theApp.ShownDate = 20061228;
    Load(kMissedFile, 0);
    std::vector<std::string> missed;
    std::vector<std::string> lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (SendMessageA(listBox.window, LB_GETITEMDATA, i, 0) & kMissedLine)
            missed.push_back(lines[i].substr(25));
    EXPECT_EQ((std::vector<std::string>{"Missed first", "Church", "New year", "Annual", "Eve",
                                        "Breakfast"}),
              missed);
    EXPECT_EQ("\t6 missed, see Mode", Part(1));
    EXPECT_EQ(20061228u, theApp.ShownDate);
    auto removed = [] {
        theApp.MarkOldEntries();
        std::string texts;
        for (int i = 0; i < theApp.entryCount; ++i)
            texts += entryTable.records[i].removed ? entryTable.records[i].text + std::string(";") : "";
        return texts;
    };
    // Only the one listed before is removed at closing; once the Reminder-mode
    // list has shown the others, they go too.
    EXPECT_EQ("Before the last shown day;", removed());
    theApp.ToggleMode();
    theApp.ToggleMode();
    EXPECT_EQ("\tEdit mode", Part(1));
    EXPECT_EQ("Before the last shown day;Missed first;Church;New year;", removed());
}

// The window left open takes the new day when the clock says so: "today"
// moves, annual reminders move on to their next day, the missed ones show.
TEST_F(EntryList, AnOpenWindowFollowsTheDay)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME yesterday = InDays(-1);
    today = MakeDate(yesterday.wYear, yesterday.wMonth, yesterday.wDay);
    today.dayOfWeek = yesterday.wDayOfWeek;
    theApp.Range = 1;
    Load(DateText(-1, 0) + " Yesterday's annual\r\n" + DateText(0, 1) + " Today's\r\n" +
             DateText(-1, 1) + " Yesterday's one-off\r\n",
         1);
    EXPECT_EQ(3u, Lines().size());
    SendMessageA(theApp.window, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(now.wDay, today.day);
    // Yesterday's were listed then: gone from the list, the annual one a year on.
    ASSERT_EQ(1u, Lines().size());
    EXPECT_NE(std::string::npos, Lines()[0].find("Today's"));
    EXPECT_EQ(1u, entryTable.records[0].isToday + entryTable.records[1].isToday +
                      entryTable.records[2].isToday);
    std::string status = Part(0);
    EXPECT_NE(std::string::npos, status.find(std::to_string(now.wDay) + ", ")) << status;

    // A RUN start that finds the window minimized hands it the day too, and
    // with something due the window comes back, once a day.
    for (int handOver = 1; handOver <= 2; ++handOver) {
        today = MakeDate(yesterday.wYear, yesterday.wMonth, yesterday.wDay);
        ShowWindow(theApp.window, SW_MINIMIZE);
        SendMessageA(theApp.window, RunStartMessage(), 0, 0);
        EXPECT_EQ(now.wDay, today.day);
        EXPECT_EQ(handOver == 1, !IsIconic(theApp.window)) << handOver;
    }
    EXPECT_EQ(DateStamp(&today), theApp.RunDate);
    ShowWindow(theApp.window, SW_SHOWNORMAL);
}

TEST_F(EntryList, AnImpossibleAnnualDateIsReportedWithItsRecordsDate)
{
    ModalAnswerer answerer;
    Load("02/30 No such day\r\n", 1);
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Invalidate date\n" + std::string(entryTable.records[0].dateText),
              answerer.Answered()[0].text);
    EXPECT_EQ(8u, strlen(entryTable.records[0].dateText));
}

TEST_F(EntryList, ATextThatReadsAsAnAmPmMarkIsKeptApartFromItsTime)
{
    const std::string file = "12/25\t10:00  A party\r\n12/26\t10:00  pm meeting\r\n"
                             "12/27\t10:00 Apples\r\n";
    Load(file);
    EXPECT_STREQ("A party", entryTable.records[0].text);
    EXPECT_STREQ("10:00 AM", entryTable.records[0].timeText);
    EXPECT_EQ(file, Saved());
    // A time written as the list shows it is saved in the file's own form.
    Load("12/25\t2:30 PM Dentist\r\n");
    EXPECT_EQ("12/25\t14:30 Dentist\r\n", Saved());
}

TEST_F(EntryList, BrokenHandWrittenLinesAreKeptWithinTheirFields)
{
    ModalAnswerer answerer;
    Load("01/06/07\t25:00 Bad time\r\n123456/999999/7777777 Absurd\r\n4/31/06 No such day\r\n", 1);
    std::string saved = Saved();
    EXPECT_NE(std::string::npos, saved.find("01/06/07 Bad time\r\n")); // no broken time written
    for (int i = 0; i < theApp.entryCount; ++i) {
        EXPECT_LT(strlen(entryTable.records[i].dateText), sizeof entryTable.records[i].dateText);
        EXPECT_LT(strlen(entryTable.records[i].sortKey), sizeof entryTable.records[i].sortKey);
    }
    EXPECT_NE(std::string::npos, saved.find("04/31/06 No such day\r\n"));
    EXPECT_FALSE(answerer.Answered().empty()); // the impossible dates were reported
}

// The list's own drawing of a line into a 400 x 40 canvas, as WM_DRAWITEM asks for it.
void PaintLine(Canvas& canvas, int line, UINT state = 0, UINT action = ODA_DRAWENTIRE)
{
    DRAWITEMSTRUCT draw = {ODT_LISTBOX, 0, (UINT)line, action, state, listBox.window, canvas.dc,
                           {0, 0, canvas.width, canvas.height}, 0};
    theApp.OnDrawItem(0, (LPARAM)&draw);
}

// The colours a painted list line holds (its text is smoothed), drawn over a
// colour of no line; corner gets the one past the end of the text.
const COLORREF kUnpainted = RGB(1, 2, 3);
std::set<COLORREF> PaintedColours(int line, UINT state, UINT action = ODA_DRAWENTIRE,
                                  COLORREF* corner = nullptr)
{
    Canvas canvas(400, 40, kUnpainted);
    PaintLine(canvas, line, state, action);
    std::set<COLORREF> colours;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x)
            colours.insert(GetPixel(canvas.dc, x, y));
    if (corner != nullptr)
        *corner = GetPixel(canvas.dc, 399, 39);
    return colours;
}

TEST_F(EntryList, TodaysRemindersAreYellowOnRedEvenWhenSelectedOthersBlackOnWhiteOrYellow)
{
    Load("03/15/07 Dentist\r\n");
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0), red = RGB(255, 0, 0),
                   black = RGB(0, 0, 0);
    const struct {
        int isToday;
        UINT state;
        COLORREF text, background;
    } cases[] = {{0, 0, black, white},
                 {0, ODS_SELECTED, black, yellow},
                 {1, 0, yellow, red},
                 {1, ODS_SELECTED | ODS_FOCUS, yellow, red}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "today " << c.isToday << ", state " << c.state);
        entryTable.records[0].isToday = c.isToday;
        COLORREF corner = kUnpainted;
        std::set<COLORREF> colours = PaintedColours(0, c.state, ODA_DRAWENTIRE, &corner);
        EXPECT_EQ(c.background, corner);
        EXPECT_EQ(1u, colours.count(c.text));
        EXPECT_EQ(1u, colours.count(c.background));
        EXPECT_EQ(0u, colours.count(kUnpainted)) << "the line was not painted whole";
        // The focus alone changing draws nothing: the list draws its own rectangle.
        EXPECT_EQ(std::set<COLORREF>{kUnpainted}, PaintedColours(0, c.state, ODA_FOCUS));
    }
}

TEST_F(EntryList, AMissedLineIsDarkRedOnWhiteAndSelectedAsAnyOther)
{
    today = MakeDate(2007, 1, 3);
    theApp.ShownDate = 20061228;
    theApp.Range = 3;
    Load("12/29/06 Missed\r\n01/04/07 Coming\r\n", 1);
    const COLORREF darkRed = RGB(128, 0, 0), black = RGB(0, 0, 0);
    const struct {
        int line;
        UINT state;
        COLORREF text, background, absent;
    } cases[] = {{0, 0, darkRed, RGB(255, 255, 255), black},
                 {0, ODS_SELECTED, black, RGB(255, 255, 0), darkRed},
                 {1, 0, black, RGB(255, 255, 255), darkRed}};
    for (const auto& c : cases) {
        std::set<COLORREF> colours = PaintedColours(c.line, c.state); // text is smoothed
        EXPECT_EQ(1u, colours.count(c.text)) << c.line << " " << c.state;
        EXPECT_EQ(1u, colours.count(c.background)) << c.line << " " << c.state;
        EXPECT_EQ(0u, colours.count(c.absent)) << c.line << " " << c.state;
    }
}

TEST_F(EntryList, AnAmpersandInAReminderIsDrawnAsTyped)
{
    Load("03/15/07 Mum & Dad\r\n");
    const COLORREF white = RGB(255, 255, 255);
    Canvas painted(400, 40, RGB(0, 0, 0)), asTyped(400, 40, white), asMnemonic(400, 40, white);
    PaintLine(painted, 0);
    RECT area = {0, 0, 400, 40};
    const char* line = "Thu  03/15/07            Mum & Dad";
    for (Canvas* canvas : {&asTyped, &asMnemonic}) {
        SetTextColor(canvas->dc, RGB(0, 0, 0));
        SetBkColor(canvas->dc, white);
        UINT prefix = canvas == &asTyped ? DT_NOPREFIX : 0;
        DrawTextA(canvas->dc, line, -1, &area, DT_SINGLELINE | prefix);
    }
    EXPECT_TRUE(painted.Pixels() == asTyped.Pixels());
    EXPECT_FALSE(painted.Pixels() == asMnemonic.Pixels());
}

} // namespace
