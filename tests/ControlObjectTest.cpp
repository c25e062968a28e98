// Control wrappers on real controls, and centring.
#include "framework/CentreWindow.h"
#include "framework/ControlObject.h"
#include "framework/WindowObject.h"

#include <gtest/gtest.h>

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL,
                                 NULL, instanceHandle, NULL);
        ASSERT_NE((HWND)NULL, parent);
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND parent = NULL;
};

TEST_F(Controls, IdsComeFromOneCounterUnlessGiven)
{
    ButtonControl first, second, given;
    int next = nextControlId;
    ASSERT_TRUE(first.Create(parent, 0, "One", 0, 0, 50, 20));
    ASSERT_TRUE(second.Create(parent, 0, "Two", 0, 20, 50, 20));
    ASSERT_TRUE(given.Create(parent, 42, "Given", 0, 40, 50, 20));
    EXPECT_EQ(next, first.controlId);
    EXPECT_EQ(next + 1, second.controlId);
    EXPECT_EQ(42, given.controlId);
    EXPECT_EQ(next + 2, nextControlId);
    EXPECT_EQ(first.window, GetDlgItem(parent, next));
    EXPECT_GE(next, 900);
}

TEST_F(Controls, AWrapperAttachesToAnExistingChildWithItsId)
{
    HWND existing = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 5, 6, 70, 80, parent, (HMENU)77,
                                    instanceHandle, NULL);
    ListBoxControl list;
    ASSERT_TRUE(list.Create(parent, 77, "", 0, 0, 10, 10));
    EXPECT_EQ(existing, list.window);
    EXPECT_EQ(&list, reinterpret_cast<ListBoxControl*>(GetWindowLongPtrA(existing, GWLP_USERDATA)));
    RECT r;
    GetWindowRect(existing, &r);
    EXPECT_EQ(70, r.right - r.left); // attached, not re-created or moved
}

TEST_F(Controls, MnemonicsAreTheLetterAfterTheFirstAmpersand)
{
    const struct {
        const char* caption;
        char mnemonic;
    } cases[] = {{"E&xit", 'x'}, {"&Ok", 'O'}, {"Plain", 0}, {"End&", 0}, {"A&b&c", 'b'}};
    for (const auto& c : cases) {
        ButtonControl button;
        ASSERT_TRUE(button.Create(parent, 0, c.caption, 0, 0, 50, 20));
        EXPECT_EQ(c.mnemonic, button.mnemonic) << c.caption;
    }
}

TEST_F(Controls, SelectionChangesAreRecordedWithoutAHandler)
{
    ListBoxControl list;
    ASSERT_TRUE(list.Create(parent, 0, "", 0, 0, 100, 100));
    list.selection = 5;
    EXPECT_EQ(0, list.OnCommandNotify(LBN_SELCHANGE, list.controlId));
    EXPECT_EQ(-1, list.selection);
    SendMessageA(list.window, LB_ADDSTRING, 0, (LPARAM) "a");
    SendMessageA(list.window, LB_ADDSTRING, 0, (LPARAM) "b");
    SendMessageA(list.window, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(0, list.OnCommandNotify(LBN_DBLCLK, list.controlId));
    EXPECT_EQ(-1, list.selection);
    list.OnCommandNotify(LBN_SELCHANGE, list.controlId);
    EXPECT_EQ(1, list.selection);

    ComboControl combo;
    combo.windowStyle = WS_CHILD | CBS_DROPDOWNLIST;
    ASSERT_TRUE(combo.Create(parent, 0, "", 0, 0, 100, 100));
    SendMessageA(combo.window, CB_ADDSTRING, 0, (LPARAM) "x");
    SendMessageA(combo.window, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(0, combo.OnCommandNotify(CBN_SELCHANGE, combo.controlId));
    EXPECT_EQ(0, combo.selection);

    ButtonControl button;
    EXPECT_EQ(0, button.OnCommandNotify(BN_CLICKED, 1));
}

class Recorder : public ButtonControl {
public:
    Recorder() : ButtonControl(1) {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 9)
            return 99;
        return CallWindowProcA(standardButtonProc, window, message, wParam, lParam);
    }
};

TEST_F(Controls, SubclassedButtonsSeeEveryMessageAndTheStandardProcedureIsKept)
{
    WNDCLASSA button;
    ASSERT_TRUE(GetClassInfoA(NULL, "BUTTON", &button));
    Recorder recorder;
    ASSERT_TRUE(recorder.Create(parent, 0, "Sub", 0, 0, 50, 20));
    EXPECT_EQ(99, SendMessageA(recorder.window, WM_USER + 9, 0, 0));
    EXPECT_EQ(3, SendMessageA(recorder.window, WM_GETTEXTLENGTH, 0, 0)); // "Sub", from the button
    ASSERT_NE((WNDPROC)NULL, standardButtonProc);
    WNDPROC kept = standardButtonProc;
    EXPECT_EQ((WNDPROC)ControlSubclassProc, recorder.Subclass(NULL));
    EXPECT_EQ(kept, standardButtonProc);
    DestroyWindow(recorder.window);
    EXPECT_EQ((WNDPROC)NULL, recorder.Subclass(NULL));
}

struct CentreCase {
    int ownerLeft, ownerTop, ownerWidth, ownerHeight; // no owner when its width is 0
    int width, height;
};

// The expected position, from the arithmetic the box and dialogs rely on:
// centred on the owner, then kept whole inside the monitor's work area.
POINT Centred(RECT area, RECT work, int w, int h)
{
    auto start = [](long low, long high, long workLow, long workHigh, int extent) {
        long s = low + ((high - low + 1) / 2 - extent / 2);
        long kept = s < high - extent ? s : high - extent;
        kept = kept < workHigh - extent ? kept : workHigh - extent;
        return kept > workLow ? kept : workLow;
    };
    POINT p = {start(area.left, area.right, work.left, work.right, w),
               start(area.top, area.bottom, work.top, work.bottom, h)};
    return p;
}

TEST_F(Controls, CentreWindowKeepsTheWindowOnTheScreenAndGrowsItByOnePixel)
{
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    POINT origin = {0, 0};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT work = monitor.rcWork;
    const CentreCase cases[] = {
        {100, 100, 400, 300, 200, 100},   // plain centring
        {-300, -200, 400, 300, 200, 100}, // owner off the top left: clamped to 0
        {50, 40, 100, 80, 300, 200},      // taller and wider than the owner
        {600, 500, 400, 300, 150, 120},
        // Owner dragged half past the right and the bottom edge.
        {work.right - 200, work.bottom - 150, 400, 300, 300, 200},
        {work.right - 50, 100, 400, 300, 300, 200},
        {100, work.bottom - 20, 400, 300, 300, 200},
        {0, 0, 0, 0, 201, 101}, // no owner: centred on the screen
    };
    for (const CentreCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ownerLeft << "," << c.ownerTop << " " << c.ownerWidth);
        HWND owner = c.ownerWidth == 0 ? NULL
                                       : CreateWindowExA(0, "STATIC", "owner", WS_POPUP, c.ownerLeft,
                                                         c.ownerTop, c.ownerWidth, c.ownerHeight,
                                                         NULL, NULL, instanceHandle, NULL);
        HWND box = CreateWindowExA(0, "STATIC", "box", WS_POPUP, 0, 0, c.width, c.height, owner,
                                   NULL, instanceHandle, NULL);
        RECT area = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
        if (owner != NULL)
            GetWindowRect(owner, &area);
        CentreWindow(box);
        RECT r;
        GetWindowRect(box, &r);
        POINT expected = Centred(area, work, c.width + 1, c.height + 1);
        EXPECT_EQ(expected.x, r.left);
        EXPECT_EQ(expected.y, r.top);
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        EXPECT_EQ(c.width + 1, r.right - r.left);
        EXPECT_EQ(c.height + 1, r.bottom - r.top);
        DestroyWindow(box);
        if (owner != NULL)
            DestroyWindow(owner);
    }
}

} // namespace
