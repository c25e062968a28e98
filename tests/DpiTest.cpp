// The windows at the screen's DPI, whatever it is (the test runs at 96, 144
// and 192): every length is its 96-DPI value scaled, text grows with it,
// calendar clicks pick the same days, and a move to a monitor of another
// scale lays the windows out again without leaking.
#include "app/ProgramObjects.h"
#include "app/ReminderDialog.h"
#include "framework/DpiScale.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

class DpiEnvironment : public ::testing::Environment {
    void SetUp() override { instanceHandle = GetModuleHandleA(NULL); }
};
::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new DpiEnvironment);

// A length on screen and its value at 96 DPI.
struct Length {
    std::string what;
    long actual;
    int at96;
};

// Within a pixel of the exact scaled value: MulDiv rounds, and an edge may
// be scaled whole or from parts.
void ExpectScaled(const std::vector<Length>& lengths, int dpi)
{
    for (const Length& length : lengths) {
        double exact = length.at96 * dpi / 96.0;
        EXPECT_NEAR(exact, (double)length.actual, 1.0) << length.what << " at " << dpi << " DPI";
    }
}

// The height of a font's characters (without the room above them).
int CharacterHeight(HFONT font)
{
    TEXTMETRICA metrics = FontMetrics(font);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

int Dpi() { return DpiOf(NULL); }

TEST(Screen, IsAtTheDpiTheRunAsksFor)
{
    const char* asked = getenv("TARVENDEL_DPI");
    int expected = asked != NULL && asked[0] != '\0' ? atoi(asked) : 96;
    EXPECT_EQ(expected, Dpi());
    EXPECT_EQ(expected, DpiOf(GetDesktopWindow()));
}

class MainAtDpi : public ::testing::Test {
protected:
    class TestMain : public MainWindow {
    public:
        void OnCommand(WPARAM, LPARAM) override {}
    };
    void SetUp() override
    {
        status.SetPartCount(4);
        for (int width : {7, 20, 6, 6})
            status.AddPart(width, 0);
        ASSERT_TRUE(main.CreateMain(&list, &bar, &status));
        main.UseFixedListFont();
        bar.SetButtonCount(9);
        for (int i = 0; i < 9; ++i)
            ASSERT_TRUE(bar.AddButton("&B", 60, 40001 + i, 0, ""));
        ShowWindow(main.window, SW_SHOWNORMAL);
    }
    void TearDown() override { DestroyWindow(main.window); }

    // The bar's lengths: the gap over its font's text, and each button's.
    std::vector<Length> BarLengths()
    {
        std::vector<Length> lengths;
        int textHeight = FontMetrics(main.barFont).tmHeight;
        lengths.push_back({"bar height over the text", bar.barHeight - textHeight, 12});
        for (int i = 0; i < bar.buttonCount; ++i) {
            RECT r = RectIn(bar.buttons[i].window, bar.window);
            std::string n = "button " + std::to_string(i);
            lengths.push_back({n + " left", r.left, 2 + 63 * i});
            lengths.push_back({n + " top", r.top, 3});
            lengths.push_back({n + " width", r.right - r.left, 60});
            lengths.push_back({n + " room below", bar.barHeight - r.bottom, 3});
        }
        return lengths;
    }
    HFONT ListFont() { return (HFONT)SendMessageA(list.window, WM_GETFONT, 0, 0); }
    void MoveTo(int dpi, RECT suggested)
    {
        SendMessageA(main.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
    }

    TestMain main;
    ButtonBar bar;
    StatusBar status;
    ListBoxControl list;
};

TEST_F(MainAtDpi, DefaultSizeAndBarAreTheir96DpiLengthsScaled)
{
    CREATESTRUCTA create = {};
    theApp.PreCreateWindow(create);
    std::vector<Length> lengths = BarLengths();
    lengths.push_back({"default width", create.cx, 620});
    lengths.push_back({"default height", create.cy, 256});
    ExpectScaled(lengths, Dpi());
}

TEST_F(MainAtDpi, ListTextIsTheFixedFontAtTheWindowsDpi)
{
    int owned = 0;
    HFONT at96 = StockFontForDpi(SYSTEM_FIXED_FONT, 96, &owned);
    int height96 = CharacterHeight(at96);
    if (owned)
        DeleteObject(at96);
    HFONT font = ListFont();
    if (Dpi() == 96) {
        EXPECT_EQ(font, (HFONT)GetStockObject(SYSTEM_FIXED_FONT));
    }
    EXPECT_NEAR(height96 * Dpi() / 96.0, CharacterHeight(font), 1.5);
    LOGFONTA look = {};
    GetObjectA(font, sizeof look, &look);
    EXPECT_EQ(FIXED_PITCH, look.lfPitchAndFamily & 3) << "the columns must line up";
}

TEST_F(MainAtDpi, StatusPartsAreMeasuredInTheStatusFontsCharacters)
{
    int edges[4] = {};
    ASSERT_EQ(4, SendMessageA(status.window, SB_GETPARTS, 4, (LPARAM)edges));
    HFONT font = (HFONT)SendMessageA(status.window, WM_GETFONT, 0, 0);
    int a = FontMetrics(font != NULL ? font : (HFONT)GetStockObject(SYSTEM_FONT), status.window)
                .tmAveCharWidth;
    RECT r;
    GetWindowRect(status.window, &r);
    EXPECT_EQ(r.right - r.left - 4 * a, edges[3]);
    EXPECT_EQ(6 * a, edges[3] - edges[2]);
    EXPECT_EQ(20 * a, edges[1] - edges[0]);
}

TEST_F(MainAtDpi, AnotherMonitorsScaleRelaysOutAndLeaksNothing)
{
    int home = Dpi();
    RECT start;
    GetWindowRect(main.window, &start);
    long before = GdiObjects();
    const int others[] = {96, 120, 144, 192, 288};
    for (int other : others) {
        SCOPED_TRACE(other);
        // Small enough for the test screen at every scale.
        RECT suggested = {40, 30, 40 + MulDiv(300, other, 96), 30 + MulDiv(200, other, 96)};
        MoveTo(other, suggested);
        RECT now;
        GetWindowRect(main.window, &now);
        EXPECT_EQ(suggested.right - suggested.left, now.right - now.left) << "the suggested size";
        EXPECT_EQ(suggested.left, now.left);
        ExpectScaled(BarLengths(), other);
        EXPECT_EQ(bar.barHeight, RectIn(list.window, main.window).top) << "the list under the bar";
        if (other != 96) {
            EXPECT_NE(GetStockObject(SYSTEM_FIXED_FONT), ListFont());
        }
    }
    MoveTo(home, start);
    ExpectScaled(BarLengths(), home);
    EXPECT_EQ(before, GdiObjects()) << "fonts of earlier scales left behind";
}

// The status window's font: its own when given, else the system's status font.
int StatusCharacterHeight(HWND status)
{
    HFONT font = (HFONT)SendMessageA(status, WM_GETFONT, 0, 0);
    if (font != NULL)
        return CharacterHeight(font);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT system = CreateFontIndirectA(&metrics.lfStatusFont);
    int height = CharacterHeight(system);
    DeleteObject(system);
    return height;
}

TEST_F(MainAtDpi, ListLinesAndStatusBarFollowAnotherScaleAndComeBack)
{
    int home = Dpi();
    RECT start;
    GetWindowRect(main.window, &start);
    auto lineHeight = [this] { return (int)SendMessageA(list.window, LB_GETITEMHEIGHT, 0, 0); };
    int line = lineHeight(), text = StatusCharacterHeight(status.window);
    EXPECT_GE(line, FontMetrics(ListFont()).tmHeight) << "text taller than its lines";
    int statusHeight = status.StatusHeight();
    long before = GdiObjects();
    RECT suggested = {40, 30, 40 + MulDiv(300, 2 * home, 96), 30 + MulDiv(200, 2 * home, 96)};
    MoveTo(2 * home, suggested);
    EXPECT_GE(lineHeight(), FontMetrics(ListFont()).tmHeight) << "text taller than its lines";
    EXPECT_NEAR(2.0 * line, lineHeight(), 2.0);
    EXPECT_NEAR(2.0 * text, StatusCharacterHeight(status.window), 2.0);
    EXPECT_GE(status.StatusHeight(), statusHeight * 4 / 3); // its borders stay as they are
    EXPECT_EQ(main.clientHeight - status.StatusHeight(), RectIn(list.window, main.window).bottom)
        << "the list ends where the status bar begins";
    MoveTo(home, start);
    EXPECT_EQ(line, lineHeight());
    EXPECT_EQ(text, StatusCharacterHeight(status.window));
    EXPECT_EQ(statusHeight, status.StatusHeight());
    EXPECT_EQ(before, GdiObjects()) << "the fonts of the other scale left behind";
}

TEST_F(MainAtDpi, ARestoredPlacementKeepsItsPixels)
{
    RECT start;
    GetWindowRect(main.window, &start);
    main.placing = 1;
    RECT suggested = {0, 0, 1000, 500};
    MoveTo(Dpi() * 2, suggested);
    main.placing = 0;
    RECT now;
    GetWindowRect(main.window, &now);
    EXPECT_EQ(start.right - start.left, now.right - now.left);
    EXPECT_EQ(start.bottom - start.top, now.bottom - now.top);
    ExpectScaled(BarLengths(), Dpi() * 2);
}

// The box's margins, buttons and icon at its DPI.
std::vector<Length> BoxLengths(HWND box)
{
    RECT client;
    GetClientRect(box, &client);
    std::vector<Length> lengths = {{"text left", messageBox.textArea.left, 64}};
    const int offsets[] = {-100, -30, 40};
    for (int i = 0; i < 3; ++i) {
        RECT r = RectIn(boxButtons[i].window, box);
        std::string n = "button " + std::to_string(i);
        lengths.push_back({n + " from the middle", r.left - client.right / 2, offsets[i]});
        lengths.push_back({n + " width", r.right - r.left, 60});
        lengths.push_back({n + " height", r.bottom - r.top, 30});
    }
    ICONINFO info = {};
    BITMAP picture = {};
    if (GetIconInfo(messageBox.icon, &info)) {
        GetObjectA(info.hbmColor != NULL ? info.hbmColor : info.hbmMask, sizeof picture, &picture);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    lengths.push_back({"icon", picture.bmWidth, 32});
    return lengths;
}

TEST(BoxAtDpi, MarginsButtonsAndIconAreScaledAndFollowAMove)
{
    int home = Dpi();
    long before = 0;
    int textHeight = 0;
    std::vector<Length> atHome, atDouble;
    // One step per tick inside the box's own loop, then the box is closed.
    DialogDriver(&messageBox).Run(
        [] {
            return messageBox.Show(NULL, "Save data?", "Tarvendel",
                                   MB_YESNOCANCEL | MB_ICONQUESTION, NULL, 0, RGB(192, 192, 192),
                                   RGB(128, 128, 128));
        },
        {[&](HWND box) {
             atHome = BoxLengths(box);
             textHeight = messageBox.lineHeight;
             before = GdiObjects();
         },
         [&](HWND box) {
             RECT r;
             GetWindowRect(box, &r);
             RECT suggested = {r.left, r.top, r.left + 2 * (r.right - r.left),
                               r.top + 2 * (r.bottom - r.top)};
             SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(2 * home, 2 * home), (LPARAM)&suggested);
             atDouble = BoxLengths(box);
             EXPECT_NEAR(2.0 * textHeight, messageBox.lineHeight, 2.0) << "the text doubles";
             GetWindowRect(box, &r);
             SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(home, home), (LPARAM)&r);
             EXPECT_EQ(before, GdiObjects()) << "fonts of the other scale left behind";
         }});
    ExpectScaled(atHome, home);
    ExpectScaled(atDouble, 2 * home);
}

TEST(BoxAtDpi, AboutLinkFontFollowsTheDpi)
{
    // The link's font is made at the first paint and kept after the box.
    DialogDriver(&aboutBox).Run([] {
        return aboutBox.Show(NULL, "Tarvendel", "https://tarvendel.example.org/", 0,
                             MAKEINTRESOURCEA(IDI_TARVENDEL), 0, RGB(192, 192, 192),
                             RGB(128, 128, 128));
    }, {[](HWND box) { UpdateWindow(box); }});
    int height = CharacterHeight(aboutBox.linkFont.handle);
    // The face stands in for another on some systems: measured against the
    // same font at 96 DPI.
    FontSpec at96;
    at96.description = aboutBox.linkFont.description;
    ASSERT_TRUE(at96.CreateForDpi(96, "", 12));
    EXPECT_NEAR(CharacterHeight(at96.handle) * Dpi() / 96.0, height, 1.5);
    at96.Release();
}

class CalendarAtDpi : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterControlClasses();
        int dpi = Dpi();
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, NULL, NULL,
                                 instanceHandle, NULL);
        ASSERT_NE(nullptr, CreateWindowExA(0, "CalendarClass", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                           MulDiv(171, dpi, 96), MulDiv(153, dpi, 96), parent,
                                           (HMENU)(INT_PTR)IDC_CALENDAR, instanceHandle, NULL));
        // December 2007 starts on a Saturday and fills six rows.
        reminderDialog.calendar.SetDate(MakeDate(2007, 12, 25));
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND parent;
};

TEST_F(CalendarAtDpi, ClicksAtScaledCellsPickTheSameDays)
{
    CalendarControl& calendar = reminderDialog.calendar;
    int dpi = Dpi();
    // Column and row of the grid at 96 DPI, and the day found there; the
    // empty cell before day 1 keeps the day picked last.
    const struct {
        int column, row, day;
    } cells[] = {{6, 0, 1}, {0, 1, 2}, {3, 2, 12}, {6, 3, 22}, {1, 5, 31}, {0, 0, 31}};
    for (const auto& cell : cells) {
        // Near the far corner of the 96-DPI cell (a pixel in: the scaled
        // pitch is rounded) and its middle land on the same day.
        const int corners[][2] = {{23 * cell.column + 21, 48 + 16 * cell.row + 14},
                                  {23 * cell.column + 12, 48 + 16 * cell.row + 8}};
        for (const auto& corner : corners) {
            int x = MulDiv(corner[0], dpi, 96), y = MulDiv(corner[1], dpi, 96);
            SendMessageA(calendar.window, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
            DateRecord picked;
            calendar.GetDate(picked);
            EXPECT_EQ(cell.day, picked.day) << "at " << corner[0] << ", " << corner[1];
        }
    }
    std::vector<Length> lengths = {
        {"month list width", RectIn(calendar.monthSelector.window, calendar.window).right, 90},
        {"year list left", RectIn(calendar.yearSelector.window, calendar.window).left, 96},
    };
    RECT cell = calendar.CellOf(25);
    lengths.push_back({"cell width", cell.right - cell.left, 19});
    lengths.push_back({"cell height", cell.bottom - cell.top, 16});
    ExpectScaled(lengths, dpi);
    EXPECT_NEAR(9 * dpi / 72.0, CharacterHeight(calendar.dayFont.handle), 1.0) << "Arial 9";
}

TEST_F(CalendarAtDpi, AMoveToAnotherScaleRemakesTheFontsWithoutLeaking)
{
    CalendarControl& calendar = reminderDialog.calendar;
    long before = GdiObjects();
    for (int i = 0; i < 5; ++i)
        SendMessageA(calendar.window, kDpiChangedAfterParent, 0, 0);
    EXPECT_EQ(before, GdiObjects());
}

// The x ranges of the header's letters: columns of the band with ink, the
// underline's rows left out (they run across every column).
std::vector<std::pair<int, int>> LetterRuns(HDC dc, RECT band)
{
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    std::vector<int> ink(band.right - band.left, 0);
    for (int y = band.top; y < band.bottom; ++y) {
        std::vector<int> row(ink.size(), 0);
        int count = 0;
        for (int x = band.left; x < band.right; ++x)
            count += row[x - band.left] = GetPixel(dc, x, y) != paper;
        if (count * 10 < (int)ink.size() * 7)
            for (size_t i = 0; i < ink.size(); ++i)
                ink[i] |= row[i];
    }
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < (int)ink.size(); ++i) {
        if (!ink[i])
            continue;
        if (runs.empty() || runs.back().second < i - 1)
            runs.push_back({i + band.left, i + band.left});
        runs.back().second = i + band.left;
    }
    return runs;
}

// The dialog as the program opens it, from its template: the dialog font's
// units and the DPI's scale meet in the calendar's box.
TEST(ReminderAtDpi, TheSixthWeekAndTheWeekdayLettersLieInsideTheCalendar)
{
    RegisterControlClasses();
    DateRecord date = MakeDate(2007, 12, 25); // from a Saturday: the 31st in the sixth row
    workEntry.annual = 0;
    workEntry.hasTime = 0;
    workEntry.text[0] = '\0';
    int dpi = Dpi();
    DialogDriver("Edit").Run([&date] { return RunReminderDialog(NULL, 0, 0, &date); },
                             {[dpi](HWND dialog) {
        CalendarControl& calendar = reminderDialog.calendar;
        HWND window = Calendar(dialog);
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(window, &client);
        int margin = MulDiv(2, dpi, 96);
        RECT last = calendar.CellOf(31);
        EXPECT_LE(last.bottom, client.bottom - margin) << "the sixth week is cut off";
        EXPECT_LE(last.right, client.right - margin);
        HDC dc = GetDC(window);
        int ink = 0;
        for (int y = last.top; y < last.bottom; ++y)
            for (int x = last.left; x < last.right; ++x)
                ink += GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
        EXPECT_GT(ink, 0) << "no 31 in its cell";
        RECT band = {margin, MulDiv(34, dpi, 96), client.right - margin, calendar.gridTop};
        std::vector<std::pair<int, int>> runs = LetterRuns(dc, band);
        ReleaseDC(window, dc);
        ASSERT_EQ(7u, runs.size()) << "seven letters";
        for (int column = 0; column < 7; ++column) {
            RECT cell = {calendar.pitch * column + MulDiv(4, dpi, 96), 0,
                         calendar.pitch * column + calendar.pitch, 0};
            // Inside its cell, and about its middle (at 96 DPI the spaced-out
            // header puts the first S three pixels left of it).
            EXPECT_GE(runs[column].first, cell.left) << "letter " << column;
            EXPECT_LT(runs[column].second, cell.right) << "letter " << column;
            EXPECT_NEAR((cell.left + cell.right) / 2.0, (runs[column].first + runs[column].second) / 2.0,
                        calendar.pitch / 6.0)
                << "letter " << column;
        }
    }});
}

} // namespace
