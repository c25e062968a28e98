// The button bar: where its buttons sit, and what reaches the main window
// when they are clicked or the mouse moves over them.
#include "framework/ButtonBar.h"
#include "resources/resource.h"
#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// What the bar sends the window that stands in for the main window.
std::vector<std::pair<WPARAM, LPARAM>> commands, hovers;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        commands.push_back({wParam, lParam});
    if (message == WM_BUTTONHOVER)
        hovers.push_back({wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

const char kHint[] = "hint";
const int kCommands[] = {IDM_ADD,  IDM_EDIT, IDM_REMOVE, IDM_SAVE, IDM_MODE,
                         IDM_SETUP, IDM_INFO, IDM_ABOUT, IDM_EXIT};
const int kBarHeight = 30;

class ButtonBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        static int registered;
        WNDCLASSA description = {};
        description.lpfnWndProc = RecordingProc;
        description.hInstance = instanceHandle;
        description.lpszClassName = "BarParentClass";
        RegisterClassOnce(&registered, description, NULL);
        parent = CreateWindowExA(0, "BarParentClass", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                 200, NULL, NULL, instanceHandle, NULL);
        commands.clear();
        hovers.clear();
        ASSERT_TRUE(bar.CreateBar(parent, 0, 0, 600, kBarHeight));
    }
    void TearDown() override { DestroyWindow(parent); }

    void AddAll()
    {
        ASSERT_TRUE(bar.SetButtonCount(9));
        for (int command : kCommands)
            ASSERT_TRUE(bar.AddButton("&Button", 60, command, 0, kHint));
    }
    int Children()
    {
        int count = 0;
        for (HWND child = GetWindow(bar.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++count;
        return count;
    }
    HWND Button(int i) { return bar.buttons[i].window; }

    HWND parent = NULL;
    ButtonBar bar;
};

TEST_F(ButtonBarTest, NineButtonsSitInOneRowAndATenthIsRefused)
{
    AddAll();
    const int lefts[] = {2, 65, 128, 191, 254, 317, 380, 443, 506};
    for (int i = 0; i < 9; ++i) {
        RECT r = RectIn(Button(i), bar.window);
        EXPECT_EQ((std::vector<LONG>{lefts[i], 3, lefts[i] + 60, kBarHeight - 3}),
                  (std::vector<LONG>{r.left, r.top, r.right, r.bottom})) << i;
        EXPECT_EQ(kCommands[i], GetDlgCtrlID(Button(i)));
    }
    EXPECT_FALSE(bar.AddButton("&Tenth", 60, 40010, 0, kHint));
    EXPECT_EQ(9, Children());
    // The button windows point into the storage, so it is never replaced.
    EXPECT_FALSE(bar.SetButtonCount(12));
    EXPECT_EQ(9, bar.buttonCapacity);
}

TEST_F(ButtonBarTest, AddButtonBeforeSetButtonCountIsRefused)
{
    EXPECT_FALSE(bar.AddButton("&Add", 60, IDM_ADD, 0, kHint));
    EXPECT_EQ(0, Children());
}

TEST_F(ButtonBarTest, DisabledButtonsStartGreyedAndEnableButtonFindsThemByCommand)
{
    ASSERT_TRUE(bar.SetButtonCount(2));
    ASSERT_TRUE(bar.AddButton("&Add", 60, IDM_ADD, 1, kHint));
    ASSERT_TRUE(bar.AddButton("&Edit", 60, IDM_EDIT, 0, kHint));
    EXPECT_FALSE(IsWindowEnabled(Button(0)));
    EXPECT_TRUE(IsWindowEnabled(Button(1)));
    const struct {
        int commandId, enable, addEnabled, editEnabled;
    } steps[] = {{IDM_ADD, 1, 1, 1}, {IDM_EDIT, 0, 1, 0}, {40099, 1, 1, 0}, {IDM_EDIT, 1, 1, 1}};
    for (const auto& step : steps) {
        bar.EnableButton(step.commandId, step.enable);
        EXPECT_EQ(step.addEnabled, !!IsWindowEnabled(Button(0))) << step.commandId;
        EXPECT_EQ(step.editEnabled, !!IsWindowEnabled(Button(1))) << step.commandId;
    }
}

TEST_F(ButtonBarTest, AClickReachesTheParentAsACommandFromTheBar)
{
    AddAll();
    SendMessageA(Button(3), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)IDM_SAVE, commands[0].first);
    EXPECT_EQ((LPARAM)bar.window, commands[0].second);
    // Other notifications of a button are not commands.
    SendMessageA(bar.window, WM_COMMAND, MAKEWPARAM(IDM_SAVE, BN_DOUBLECLICKED), (LPARAM)Button(3));
    EXPECT_EQ(1u, commands.size());
}

TEST_F(ButtonBarTest, MouseMovesAreReportedOnlyOverButtonsWithoutTheFocus)
{
    AddAll();
    SetFocus(parent);
    for (int i = 0; i < 3; ++i)
        SendMessageA(Button(0), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(3u, hovers.size());
    EXPECT_EQ(std::make_pair((WPARAM)IDM_ADD, (LPARAM)kHint), hovers[2]);
    SetFocus(Button(0));
    SendMessageA(Button(0), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(3u, hovers.size());
}

TEST_F(ButtonBarTest, TheHandShowsOverButtonsAndTheArrowOverTheBar)
{
    handCursor = LoadCursorA(instanceHandle, MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    ASSERT_NE(nullptr, handCursor);
    AddAll();
    SetCursor(arrow);
    SendMessageA(Button(4), WM_SETCURSOR, (WPARAM)Button(4), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(handCursor, GetCursor());
    SendMessageA(bar.window, WM_SETCURSOR, (WPARAM)bar.window, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(ButtonBarTest, TheBarDrawsItsTwoLinesAcrossItsWidthAndLeavesNothingToRepaint)
{
    for (int shown : {0, 1}) {
        bar.shown = shown;
        InvalidateRect(bar.window, NULL, TRUE);
        UpdateWindow(bar.window);
        EXPECT_FALSE(GetUpdateRect(bar.window, NULL, FALSE)) << "shown " << shown;
    }
    HDC dc = GetDC(bar.window);
    for (int x : {0, 300, 599}) {
        EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), GetPixel(dc, x, kBarHeight - 1)) << x;
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(dc, x, 0)) << x;
    }
    ReleaseDC(bar.window, dc);
}

} // namespace
