// The month calendar in real windows: month shapes, hit testing, the lists,
// the year lock, the date it hands back, the notices its parent gets and what
// a key repaints.
#include "controls/CalendarControl.h"
#include "framework/WindowObject.h"
#include "resource.h"
#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int kId = 1019;
std::vector<NMHDR> notices;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && wParam == kId)
        notices.push_back(*reinterpret_cast<const NMHDR*>(lParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

// One object for every test's window, as the dialog's object outlives its windows.
CalendarControl calendar(kId);

class Calendar : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        ASSERT_TRUE(RegisterControlClasses());
        WNDCLASSA parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.lpszClassName = "CalendarTestParent";
        RegisterClassA(&parentClass); // already there from the second test on
        parent = CreateWindowExA(0, "CalendarTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 250,
                                 NULL, NULL, NULL, NULL);
        HWND made = CreateWindowExA(0, "CALENDARCLASS", "", WS_CHILD | WS_VISIBLE, 10, 10, 171, 153,
                                    parent, (HMENU)(INT_PTR)kId, NULL, NULL);
        ASSERT_TRUE(made != NULL && made == calendar.window);
    }
    void TearDown() override { DestroyWindow(parent); }

    void Load(int year, int month, int day)
    {
        calendar.SetDate({(uint16_t)year, (uint16_t)month, 3, (uint16_t)day, 14, 35, 7, 1});
        notices.clear();
    }
    void Click(int x, int y)
    {
        SendMessageA(calendar.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((WORD)x, (WORD)y));
    }
    // As a user's choice does: the list changes, then the calendar hears of it.
    void Choose(ComboControl& list, int index)
    {
        SendMessageA(list.window, CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(calendar.window, WM_COMMAND, MAKEWPARAM(list.controlId, CBN_SELCHANGE),
                     (LPARAM)list.window);
    }

    HWND parent = NULL;
};

TEST_F(Calendar, MonthsStartOnTheirWeekdayAndHaveTheirLength)
{
    // Year, month, weekday of day 1, days: December 2007 fills six rows, February 2015 four.
    const int cases[][4] = {{2007, 12, 6, 31}, {2015, 2, 0, 28}, {2016, 2, 1, 29},
                            {2000, 2, 2, 29},  {2006, 4, 6, 30}, {2050, 1, 6, 31}};
    for (const auto& c : cases) {
        Load(c[0], c[1], 1);
        EXPECT_EQ(c[2], calendar.firstWeekday) << c[0] << "-" << c[1];
        EXPECT_EQ(c[3], calendar.daysInMonth) << c[0] << "-" << c[1];
    }
}

// December 2007: day 1 in column 6 of row 0, day 31 in column 1 of row 5.
TEST_F(Calendar, OnlyClicksOnADayCellSelectItAndNotifyTheParent)
{
    const int cases[][4] = {                   // x, y, selected day after, notices
        {160, 48, 1, 1}, {161, 48, 25, 0},     // column 7 is no column
        {150, 47, 25, 0}, {10, -3, 25, 0}, {-5, 64, 25, 0}, // lists, header, outside
        {50, 48, 25, 0}, {50, 130, 25, 0}, {10, 144, 25, 0}, // before day 1, after day 31
        {0, 64, 2, 1}, {3, 64, 2, 1}, {22, 79, 2, 1}, {69, 64, 5, 1}, // the gap left of a
        {92, 64, 6, 1}, {30, 143, 31, 1}, {50, 115, 25, 1},           // cell is the cell's
    };
    for (const auto& c : cases) {
        Load(2007, 12, 25);
        Click(c[0], c[1]);
        EXPECT_EQ(c[2], calendar.date.day) << "click at " << c[0] << "," << c[1];
        EXPECT_EQ((size_t)c[3], notices.size()) << "click at " << c[0] << "," << c[1];
    }
    ASSERT_EQ(1u, notices.size());
    EXPECT_EQ(calendar.window, notices[0].hwndFrom);
    EXPECT_EQ((UINT_PTR)kId, notices[0].idFrom);
    EXPECT_EQ((UINT)DATE_CHANGED, notices[0].code);
}

TEST_F(Calendar, TheLastDayOfALongMonthBecomesTheLastDayOfAShorterOne)
{
    const int cases[][5] = {// year, month, day, new month, day then
                            {2007, 1, 31, 2, 28}, {2008, 1, 31, 2, 29}, {2000, 1, 31, 2, 29},
                            {2007, 3, 31, 4, 30}, {2007, 1, 15, 2, 15}};
    for (const auto& c : cases) {
        Load(c[0], c[1], c[2]);
        Choose(calendar.monthSelector, c[3] - 1);
        EXPECT_EQ(c[3], calendar.date.month);
        EXPECT_EQ(c[4], calendar.date.day) << c[0] << "-" << c[1] << "-" << c[2];
        EXPECT_EQ(1u, notices.size());
    }
    Load(2008, 2, 29); // a leap day moved to a common year through the year list
    Choose(calendar.yearSelector, 3);
    EXPECT_EQ(2009, calendar.date.year);
    EXPECT_EQ(28, calendar.date.day);
}

TEST_F(Calendar, TheListsHoldTheMonthsAndTenYearsFromTwoBeforeTheLoadedOne)
{
    auto item = [](ComboControl& list, int index) { return ComboItem(list.window, index); };
    for (int year : {2006, 2030}) { // loaded twice: refilled, not extended
        Load(year, 5, 9);
        ASSERT_EQ(12, SendMessageA(calendar.monthSelector.window, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("January", item(calendar.monthSelector, 0));
        EXPECT_EQ("December", item(calendar.monthSelector, 11));
        EXPECT_EQ(4, SendMessageA(calendar.monthSelector.window, CB_GETCURSEL, 0, 0));
        ASSERT_EQ(10, SendMessageA(calendar.yearSelector.window, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(std::to_string(year - 2 + i), item(calendar.yearSelector, i));
        EXPECT_EQ(2, SendMessageA(calendar.yearSelector.window, CB_GETCURSEL, 0, 0));
    }
    SendMessageA(calendar.yearSelector.window, WM_KEYDOWN, VK_END, 0); // the user's last entry
    EXPECT_EQ(2037, calendar.date.year);
    EXPECT_EQ(1u, notices.size());
}

TEST_F(Calendar, ALockedYearLeavesMonthAndDayToChangeAndGetDateKeepsTheRest)
{
    Load(2006, 12, 7);
    calendar.SetYearLocked(1);
    EXPECT_FALSE(IsWindowEnabled(calendar.yearSelector.window));
    EXPECT_TRUE(IsWindowEnabled(calendar.monthSelector.window));
    Choose(calendar.monthSelector, 1);
    Click(30, 70); // 1 February 2006 is a Wednesday: column 1 of row 1 is the 6th
    DateRecord shown, expected = {2006, 2, 3, 6, 14, 35, 7, 1};
    calendar.GetDate(shown);
    EXPECT_EQ(0, memcmp(&expected, &shown, sizeof shown));
    calendar.SetYearLocked(0);
    EXPECT_TRUE(IsWindowEnabled(calendar.yearSelector.window));
}

// A key tells the parent as a click does, once per move and never without one,
// and repaints the two days of a move within the month, or the grid alone.
TEST_F(Calendar, AKeyNotifiesOnceAndRepaintsOnlyWhatChanged)
{
    const struct {
        WPARAM key;
        int day;         // selected before
        size_t notices;
        int updateTop;   // top of the part left to repaint; -1 for none
    } cases[] = {
        {VK_LEFT, 25, 1, -1}, {VK_HOME, 1, 0, -1}, {VK_END, 31, 0, -1},
        {VK_DOWN, 25, 1, kGridTop}, {VK_NEXT, 25, 1, kGridTop}, {VK_F5, 25, 0, -1},
    };
    ShowWindow(parent, SW_SHOW);
    for (const auto& c : cases) {
        Load(2007, 12, c.day);
        UpdateWindow(parent);
        SendMessageA(calendar.window, WM_KEYDOWN, c.key, 1);
        ASSERT_EQ(c.notices, notices.size()) << c.key;
        RECT update = {};
        EXPECT_EQ(c.updateTop, GetUpdateRect(calendar.window, &update, FALSE) ? update.top : -1)
            << c.key;
    }
    EXPECT_EQ(calendar.window, notices[0].hwndFrom);
    EXPECT_EQ((UINT_PTR)kId, notices[0].idFrom);
    EXPECT_EQ((UINT)DATE_CHANGED, notices[0].code);
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(calendar.window, WM_GETDLGCODE, 0, 0));
}

// Callers give valid dates; a mistaken one must still stay inside the tables.
TEST_F(Calendar, NonsenseIsIgnoredRatherThanFollowed)
{
    Load(2006, 13, 40);
    EXPECT_EQ(0, calendar.daysInMonth);
    Click(30, 70);
    EXPECT_EQ(40, calendar.date.day);
    UpdateWindow(calendar.window);

    SendMessageA(calendar.window, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(calendar.window, WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(13, calendar.date.month);
    EXPECT_EQ(40, calendar.date.day);

    Load(2006, 6, 10); // a selection change that leaves nothing selected
    SendMessageA(calendar.monthSelector.window, CB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageA(calendar.window, WM_COMMAND, MAKEWPARAM(kMonthSelectorId, CBN_SELCHANGE), 0);
    EXPECT_EQ(6, calendar.date.month);
    EXPECT_EQ(0u, notices.size());
}

TEST_F(Calendar, DayCellsAreNineteenPixelsWideInSixteenPixelRows)
{
    Load(2007, 12, 25);
    Canvas canvas(200, 200, RGB(0, 0, 0));
    HDC dc = canvas.dc;
    const COLORREF lit = GetSysColor(COLOR_HIGHLIGHT);
    const int cells[][3] = {{1, 142, 48}, {2, 4, 64}, {31, 27, 128}}; // day, left, top
    for (const auto& c : cells) {
        calendar.DrawDay(dc, c[0], 1);
        EXPECT_EQ(lit, GetPixel(dc, c[1], c[2]) & GetPixel(dc, c[1] + 18, c[2] + 15)) << c[0];
        EXPECT_EQ(0u, GetPixel(dc, c[1] - 1, c[2]) | GetPixel(dc, c[1] + 19, c[2]) |
                          GetPixel(dc, c[1], c[2] + 16)) << c[0];
    }
    calendar.DrawDay(dc, 0, 1); // no cells: they would land in column 5 of row 0
    calendar.DrawDay(dc, 32, 1); // and in column 2 of row 5
    EXPECT_EQ(0u, GetPixel(dc, 120, 50) | GetPixel(dc, 52, 130));
}

TEST(CalendarFamily, AWindowFindsTheNewestLiveObjectWithItsId)
{
    CalendarControl older(7001);
    {
        CalendarControl newer(7001);
        EXPECT_EQ(&newer, ControlRegistry::Find(7001));
    }
    EXPECT_EQ(&older, ControlRegistry::Find(7001));
    EXPECT_EQ(&calendar, ControlRegistry::Find(kId));
    EXPECT_EQ(nullptr, ControlRegistry::Find(7002));
}

// The colours of a rectangle of the calendar as the screen shows it.
std::vector<COLORREF> Colours(HDC dc, RECT area)
{
    std::vector<COLORREF> colours;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            colours.push_back(GetPixel(dc, x, y));
    return colours;
}

TEST_F(Calendar, AFullRepaintShowsTheBoldUnderlinedHeaderEveryDayAndTheSelectedOne)
{
    ShowWindow(parent, SW_SHOW);
    Load(2007, 12, 25); // begins on a Saturday: six rows
    RedrawWindow(calendar.window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(calendar.window);

    LOGFONTA font = {};
    ASSERT_NE(0, GetObjectA(calendar.headerFont.handle, sizeof font, &font));
    EXPECT_STREQ("Arial", font.lfFaceName);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_TRUE(font.lfUnderline);
    // The weekday letters, as that font draws them in the header's place.
    RECT header = {kCellInset, kFrameTop + 2, 7 * kCellPitch, kGridTop};
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    Canvas memory(header.right - header.left, header.bottom - header.top, window);
    RECT all = {0, 0, memory.width, memory.height};
    HGDIOBJ oldFont = SelectObject(memory.dc, calendar.headerFont.handle);
    SetTextColor(memory.dc, calendar.headerFont.textColour);
    SetBkColor(memory.dc, window);
    DrawTextA(memory.dc, " S     M     T     W     T     F     S ", -1, &all, DT_SINGLELINE);
    EXPECT_TRUE(Colours(memory.dc, all) == Colours(dc, header)) << "the header differs";
    SelectObject(memory.dc, oldFont);

    // Every cell of the grid: the month's days hold their number, the others nothing.
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    std::string shown;
    for (int cell = 0; cell < 42; ++cell) {
        RECT area = {kCellPitch * (cell % 7) + kCellInset, kGridTop + kCellHeight * (cell / 7),
                     kCellPitch * (cell % 7) + kCellPitch, kGridTop + kCellHeight * (cell / 7 + 1)};
        std::vector<COLORREF> colours = Colours(dc, area);
        auto holds = [&colours](COLORREF c) {
            return std::find(colours.begin(), colours.end(), c) != colours.end();
        };
        // Text is smoothed: its colour and the background's are there, not only they.
        int inHighlight = holds(highlight), inText = holds(text);
        char look = inHighlight && holds(highlightText) && !inText    ? 'S'
                    : inText && holds(window) && !inHighlight       ? 'd'
                    : colours == std::vector<COLORREF>(colours.size(), window) ? '.'
                                                                                : '?';
        shown += look;
    }
    ReleaseDC(calendar.window, dc);
    // 1 December 2007 is in the seventh cell.
    EXPECT_EQ(std::string(6, '.') + std::string(24, 'd') + "S" + std::string(6, 'd') + ".....",
              shown);
}

} // namespace
