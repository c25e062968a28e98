// The status window's parts: measured in average characters from the right,
// each with its own drawing type.
#include "framework/StatusBar.h"
#include "framework/WindowObject.h"
#include "support/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 620, 256,
                                 NULL, NULL, instanceHandle, NULL);
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    // The program's four parts, with firstWidth for the first.
    void Create(StatusBar& bar, int firstWidth)
    {
        ASSERT_TRUE(bar.SetPartCount(4));
        const int widths[] = {firstWidth, 20, 6, 6};
        for (int i = 0; i < 4; ++i)
            bar.AddPart(widths[i], i == 0 ? SBT_NOBORDERS : 0);
        ASSERT_TRUE(bar.CreateStatus(parent));
    }

    // Resizes the parent to width; the part edges the window then holds.
    std::vector<int> EdgesAt(StatusBar& bar, int width)
    {
        SetWindowPos(parent, NULL, 0, 0, width, 256, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(parent, &client);
        bar.ResizeParts(SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        int edges[8] = {};
        int count = (int)SendMessageA(bar.window, SB_GETPARTS, 8, (LPARAM)edges);
        return std::vector<int>(edges, edges + count);
    }

    HWND parent = NULL;
};

TEST_F(StatusBarTest, PartsEndAtTheirCharacterWidthsCountedFromTheRight)
{
    StatusBar bar;
    Create(bar, 7);
    int a = FontMetrics((HFONT)SendMessageA(bar.window, WM_GETFONT, 0, 0)).tmAveCharWidth;
    ASSERT_GT(a, 0);
    for (int width : {320, 620, 1000}) {
        std::vector<int> edges = EdgesAt(bar, width);
        RECT r;
        GetWindowRect(bar.window, &r);
        int w = r.right - r.left;
        EXPECT_EQ((std::vector<int>{w - 36 * a, w - 16 * a, w - 10 * a, w - 4 * a}), edges) << width;
    }
}

TEST_F(StatusBarTest, TheFirstPartsWidthAndPartsBeyondTheCountChangeNothing)
{
    StatusBar usual, odd;
    Create(usual, 7);
    Create(odd, 50);
    odd.AddPart(99, 0);
    EXPECT_EQ(4, odd.partsDefined);
    EXPECT_EQ(EdgesAt(usual, 700), EdgesAt(odd, 700));
}

TEST_F(StatusBarTest, EachPartKeepsItsDrawingTypeAndOtherIndexesAreIgnored)
{
    StatusBar bar;
    Create(bar, 7);
    int type = -1;
    StatusText(bar.window, 0, &type);
    EXPECT_EQ(SBT_NOBORDERS, type) << "before any text";
    bar.SetPartText(0, "Thursday");
    bar.SetPartText(1, "\tEdit mode");
    bar.SetPartText(4, "x");
    bar.SetPartText(-1, "x");
    EXPECT_EQ("Thursday", StatusText(bar.window, 0, &type));
    EXPECT_EQ(SBT_NOBORDERS, type);
    EXPECT_EQ("\tEdit mode", StatusText(bar.window, 1, &type));
    EXPECT_EQ(0, type);
}

TEST_F(StatusBarTest, ABarWithoutPartsIsCreatedAndResizedSafely)
{
    StatusBar bar;
    EXPECT_FALSE(bar.SetPartCount(0));
    bar.AddPart(7, 0);
    EXPECT_EQ(0, bar.partsDefined);
    ASSERT_TRUE(bar.CreateStatus(parent));
    EdgesAt(bar, 500);
    bar.SetPartText(0, "x");
    EXPECT_GT(bar.StatusHeight(), 0);
}

} // namespace
