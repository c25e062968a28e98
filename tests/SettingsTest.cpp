// The options, the window placement and the start-up entry in the registry.
#include "core/Application.h"
#include "core/BoundedString.h"
#include "support/AppState.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

#include <string.h>

namespace {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void Store(const char* name, DWORD type, const void* data, DWORD size,
           const char* key = kSettingsKey)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, size))
        << name;
}
void StoreNumber(const char* name, DWORD value) { Store(name, REG_DWORD, &value, 4); }
void StoreFlag(const char* name, BYTE value) { Store(name, REG_BINARY, &value, 1); }

struct Stored {
    int found;
    DWORD type;
    std::string data;
};

Stored Fetch(const char* name, const char* key = kSettingsKey)
{
    Stored s = {0, 0, ""};
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return s;
    char data[512];
    DWORD size = sizeof data;
    if (RegQueryValueExA(k, name, NULL, &s.type, (BYTE*)data, &size) == ERROR_SUCCESS) {
        s.found = 1;
        s.data.assign(data, size);
    }
    RegCloseKey(k);
    return s;
}

DWORD AsNumber(const Stored& s)
{
    DWORD value = 0;
    memcpy(&value, s.data.data(), s.data.size() < 4 ? s.data.size() : 4);
    return value;
}

// Every option LoadSettings sets, by name.
std::string Options()
{
    std::ostringstream out;
    out << "Range " << theApp.Range << ", AutoRemove " << theApp.AutoRemove << ", RunOnce "
        << theApp.RunOnce << ", AlwaysRun " << theApp.AlwaysRun << ", AskTime " << theApp.AskTime
        << ", TimeCol " << theApp.TimeCol << ", RunDay " << theApp.RunDay << ", RunDate "
        << theApp.RunDate << ", firstRun " << theApp.firstRun << ", runAtStartup "
        << theApp.runAtStartup;
    return out.str();
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ResetApplication();
        today = MakeDate(2006, 12, 7);
    }
    void TearDown() override
    {
        DestroyWindow(theApp.window); // refused when none was made
        theApp.window = NULL;
        ClearSettings();
    }

    void CreateRealWindow()
    {
        theApp.window = CreateWindowExA(0, "STATIC", "Tarvendel", WS_OVERLAPPEDWINDOW, 100, 120,
                                        400, 280, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_NE((HWND)NULL, theApp.window);
    }

    void StorePlacement(int left, int top, int right, int bottom, DWORD flags = 0,
                        DWORD showCmd = SW_SHOWNORMAL)
    {
        StoreNumber("flags", flags);
        StoreNumber("showCmd", showCmd);
        RECT r = {left, top, right, bottom};
        Store("rcNormal", REG_BINARY, &r, sizeof r);
    }
};

TEST_F(Settings, WithoutAKeyEveryDefaultHoldsAndItIsTheFirstRun)
{
    theApp.Range = 3;
    theApp.AutoRemove = 0;
    theApp.TimeCol = 0;
    theApp.AlwaysRun = 1;
    theApp.LoadSettings();
    EXPECT_EQ("Range 10, AutoRemove 1, RunOnce 1, AlwaysRun 0, AskTime 0, TimeCol 1, RunDay 99, "
              "RunDate 0, firstRun 1, runAtStartup 0",
              Options());
}

TEST_F(Settings, StoredValuesAreReadBySizeNotByType)
{
    StoreNumber("Range", 100);
    StoreFlag("AutoRemove", 0);
    StoreFlag("AlwaysRun", 5);       // any non-zero byte is on
    StoreNumber("TimeCol", 0);       // four bytes: too long for a flag, default kept
    Store("AskTime", REG_SZ, "", 1); // one byte of any type is a flag
    StoreNumber("RunDay", 7);
    StoreNumber("RunDate", 20061107);
    theApp.LoadSettings();
    EXPECT_EQ("Range 100, AutoRemove 0, RunOnce 1, AlwaysRun 1, AskTime 0, TimeCol 1, RunDay 7, "
              "RunDate 20061107, firstRun 0, runAtStartup 0",
              Options());

    StoreNumber("Range", 0);
    theApp.LoadSettings();
    EXPECT_EQ(0, theApp.Range);
}

// The date of the last shown run is read always: it tells which reminders
// were missed since.
TEST_F(Settings, TheRunDayIsReadOnlyWhenRunningOnceADay)
{
    StoreFlag("RunOnce", 0);
    StoreNumber("RunDay", 7);
    StoreNumber("RunDate", 20061207);
    theApp.LoadSettings();
    EXPECT_EQ("Range 10, AutoRemove 1, RunOnce 0, AlwaysRun 0, AskTime 0, TimeCol 1, RunDay 99, "
              "RunDate 20061207, firstRun 0, runAtStartup 0",
              Options());
}

TEST_F(Settings, TheStartupEntryIsSeenWhenItsValueExists)
{
    Store("Tarvendel", REG_SZ, "x RUN", 6, kRun);
    theApp.LoadSettings();
    EXPECT_EQ(1u, theApp.runAtStartup);
    // One written for a program in a deep folder is as much on as a short one.
    std::string deep = "\"C:\\" + std::string(250, 'x') + "\\Tarvendel.exe\" RUN";
    Store("Tarvendel", REG_SZ, deep.c_str(), (DWORD)deep.size() + 1, kRun);
    theApp.LoadSettings();
    EXPECT_EQ(1u, theApp.runAtStartup);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRun, "Tarvendel");
    theApp.LoadSettings();
    EXPECT_EQ(0u, theApp.runAtStartup);
}

TEST_F(Settings, SavingWritesEveryValueWithItsTypeAndSize)
{
    CreateRealWindow();
    theApp.Range = 15;
    theApp.AutoRemove = 0;
    theApp.RunOnce = 7; // any non-zero flag is written as 1
    theApp.AlwaysRun = 1;
    theApp.AskTime = 0;
    theApp.TimeCol = 1;
    EXPECT_EQ(1, theApp.SaveState());

    const struct {
        const char* name;
        DWORD type;
        size_t size;
        DWORD value;
    } expected[] = {
        {"Range", REG_DWORD, 4, 15},     {"AutoRemove", REG_BINARY, 1, 0},
        {"RunOnce", REG_BINARY, 1, 1},   {"AlwaysRun", REG_BINARY, 1, 1},
        {"AskTime", REG_BINARY, 1, 0},   {"TimeCol", REG_BINARY, 1, 1},
        {"RunDay", REG_DWORD, 4, 7},     {"RunDate", REG_DWORD, 4, 20061207},
        {"flags", REG_DWORD, 4, 0},      {"showCmd", REG_DWORD, 4, SW_SHOWNORMAL},
    };
    for (const auto& e : expected) {
        Stored s = Fetch(e.name);
        ASSERT_TRUE(s.found) << e.name;
        EXPECT_EQ(e.type, s.type) << e.name;
        EXPECT_EQ(e.size, s.data.size()) << e.name;
        EXPECT_EQ(e.value, AsNumber(s)) << e.name;
    }
    Stored rect = Fetch("rcNormal");
    EXPECT_EQ((DWORD)REG_BINARY, rect.type);
    ASSERT_EQ(16u, rect.data.size());
    RECT saved;
    memcpy(&saved, rect.data.data(), 16);
    EXPECT_EQ("100,120 - 500,400", Corners(saved));

    // What was saved is what the next start reads.
    ResetApplication();
    theApp.LoadSettings();
    EXPECT_EQ("Range 15, AutoRemove 0, RunOnce 1, AlwaysRun 1, AskTime 0, TimeCol 1, RunDay 7, "
              "RunDate 20061207, firstRun 0, runAtStartup 0",
              Options());
}

TEST_F(Settings, TheSavedPlacementComesBackOnARealWindow)
{
    CreateRealWindow();
    MoveWindow(theApp.window, 60, 70, 620, 256, FALSE);
    theApp.SaveSettings();
    MoveWindow(theApp.window, 300, 310, 200, 100, FALSE);
    ASSERT_EQ(1, theApp.RestorePlacement());
    RECT r;
    GetWindowRect(theApp.window, &r);
    EXPECT_EQ("60,70 - 680,326", Corners(r));
    EXPECT_TRUE(IsWindowVisible(theApp.window));
}

TEST_F(Settings, AWindowClosedMinimizedComesBackAsItWasBeforeIt)
{
    CreateRealWindow();
    const struct {
        DWORD flags, showCmd;
        int zoomed;
    } cases[] = {{0, SW_SHOWMINIMIZED, 0},
                 {WPF_RESTORETOMAXIMIZED, SW_SHOWMINIMIZED, 1},
                 {0, SW_MINIMIZE, 0},
                 {0, SW_SHOWMINNOACTIVE, 0}};
    for (const auto& c : cases) {
        ShowWindow(theApp.window, SW_HIDE);
        ShowWindow(theApp.window, SW_RESTORE);
        StorePlacement(60, 70, 680, 326, c.flags, c.showCmd);
        ASSERT_EQ(1, theApp.RestorePlacement()) << c.showCmd;
        EXPECT_FALSE(IsIconic(theApp.window)) << c.showCmd;
        EXPECT_EQ(c.zoomed, IsZoomed(theApp.window) != 0) << c.showCmd;
    }
}

TEST_F(Settings, APlacementOffTheScreenOrIncompleteIsNotRestored)
{
    CreateRealWindow();
    const int leftLimit = GetSystemMetrics(SM_CXSCREEN) - GetSystemMetrics(SM_CXICON);
    const int topLimit = GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYICON);
    const struct {
        int left, top, restored;
    } cases[] = {
        {leftLimit + 1, 10, 0}, {leftLimit, 10, 1}, {10, topLimit + 1, 0},
        {10, topLimit, 1},      {-50, 10, 1},       {10, -50, 1},
    };
    for (const auto& c : cases) {
        StorePlacement(c.left, c.top, c.left + 300, c.top + 200);
        EXPECT_EQ(c.restored, theApp.RestorePlacement()) << c.left << "," << c.top;
    }

    StorePlacement(10, 10, 300, 200);
    RECT half = {10, 10, 0, 0};
    Store("rcNormal", REG_BINARY, &half, 8);
    EXPECT_EQ(0, theApp.RestorePlacement());

    ClearSettings();
    StoreNumber("flags", 0);
    StoreNumber("showCmd", SW_SHOWNORMAL);
    EXPECT_EQ(0, theApp.RestorePlacement());
}

} // namespace
