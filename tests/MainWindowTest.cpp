// The main window: its children's layout, focus, closing, and the message loop.
#include "framework/ButtonBar.h"
#include "framework/MainWindow.h"
#include "framework/StatusBar.h"
#include "resources/resource.h"
#include "support/DialogDriver.h"
#include "support/ReplaceImport.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

namespace {

class TestMain : public MainWindow {
public:
    int CanClose() override { return allowClose; }
    int RestorePlacement() override { return placed; }
    // Only commands from no control, as accelerators send them; the list's
    // own notifications arrive here too.
    void OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0)
            commands.push_back(LOWORD(wParam));
    }

    int allowClose = 1;
    int placed = 0;
    std::vector<int> commands;
};

int QuitPending()
{
    MSG message;
    return PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

std::vector<LONG> InParent(HWND child)
{
    RECT r = RectIn(child, GetParent(child));
    return {r.left, r.top, r.right, r.bottom};
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        status.SetPartCount(4);
        for (int width : {7, 20, 6, 6})
            status.AddPart(width, 0);
        ASSERT_TRUE(main.CreateMain(&list, &bar, &status));
    }
    void TearDown() override
    {
        if (main.window != NULL)
            DestroyWindow(main.window);
        // Nothing left in the queue, the quit message included, may reach the next test.
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        }
    }

    ButtonBar bar;
    StatusBar status;
    ListBoxControl list;
    TestMain main;
};

TEST_F(MainWindowTest, ChildrenAreLaidOutFromTheFirstShowOnAndAtEveryResize)
{
    EXPECT_EQ((std::vector<LONG>{0, 0, 0, 0}), InParent(list.window)) << "laid out before the show";
    int top = FontMetrics(NULL).tmHeight + 12;

    main.ShowMain(SW_SHOWNORMAL);
    const SIZE sizes[] = {{0, 0}, {400, 300}, {700, 180}};
    for (const SIZE& size : sizes) {
        if (size.cx != 0)
            SetWindowPos(main.window, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(main.window, &client);
        LONG w = client.right, h = client.bottom, statusHeight = status.StatusHeight();
        EXPECT_GT(statusHeight, 0);
        EXPECT_EQ((std::vector<LONG>{0, 0, w, top}), InParent(bar.window)) << size.cx;
        EXPECT_EQ((std::vector<LONG>{0, top, w, h - statusHeight}), InParent(list.window));
        EXPECT_EQ((std::vector<LONG>{0, h - statusHeight, w, h}), InParent(status.window));
    }
    // Hidden, the status bar takes no room.
    ShowWindow(status.window, SW_HIDE);
    EXPECT_EQ(0, status.StatusHeight());
    main.Layout();
    EXPECT_EQ(main.clientHeight, InParent(list.window)[3]);
}

TEST_F(MainWindowTest, FocusGivenToTheWindowLandsInTheList)
{
    main.ShowMain(SW_SHOWNORMAL);
    SetFocus(bar.window);
    SetFocus(main.window);
    EXPECT_EQ(list.window, GetFocus());
}

TEST_F(MainWindowTest, RestoredPlacementReplacesTheShowCommand)
{
    main.placed = 1;
    main.ShowMain(SW_SHOWNORMAL);
    EXPECT_FALSE(IsWindowVisible(main.window));
    main.placed = 0;
    main.ShowMain(SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(main.window));
}

TEST_F(MainWindowTest, ARefusedCloseKeepsTheWindowAndRefusesTheSessionEnd)
{
    HWND window = main.window;
    main.allowClose = 0;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(window, main.window);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(0, SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    main.allowClose = 1;
    EXPECT_EQ(1, SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(QuitPending());
}

TEST_F(MainWindowTest, DestructionPostsTheQuitThatEndsTheLoopWithCodeZero)
{
    HWND window = main.window;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, main.window);
    ASSERT_TRUE(QuitPending()) << "the loop below would wait for ever";
    EXPECT_EQ(0, main.RunMessageLoop());
    EXPECT_FALSE(QuitPending());
}

TEST_F(MainWindowTest, TheLoopSendsAcceleratorsToTheMainWindowAndReturnsTheQuitCode)
{
    EXPECT_TRUE(main.SetAccelerators(IDR_ACCELERATORS));
    main.ShowMain(SW_SHOWNORMAL);
    ACCEL key = {FVIRTKEY, VK_F5, IDM_INFO};
    HACCEL table = CreateAcceleratorTableA(&key, 1);
    main.accelerators = table;
    PostMessageA(list.window, WM_KEYDOWN, VK_F5, 1);
    PostQuitMessage(42);
    EXPECT_EQ(42, main.RunMessageLoop());
    EXPECT_EQ(std::vector<int>{IDM_INFO}, main.commands);
    DestroyAcceleratorTable(table);
}

int failedGets;

// Fails a few times, then quits, so that a loop that keeps asking still ends.
BOOL WINAPI FailingGetMessage(MSG* message, HWND, UINT, UINT)
{
    if (++failedGets < 5)
        return -1;
    message->message = WM_QUIT;
    message->wParam = 77;
    return 0;
}

TEST(MessageLoop, AFailingQueueEndsTheLoopWithAnErrorInsteadOfSpinning)
{
    TestMain main;
    failedGets = 0;
    void* real = ReplaceImport("GetMessageA", reinterpret_cast<void*>(FailingGetMessage));
    ASSERT_NE(nullptr, real);
    int result = main.RunMessageLoop();
    ReplaceImport("GetMessageA", real);
    EXPECT_EQ(1, failedGets);
    EXPECT_EQ(-1, result);
}

} // namespace
