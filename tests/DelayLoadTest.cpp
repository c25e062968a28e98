// Linked as Tarvendel.exe is, with the window DLLs loaded on first use: the
// calls found at run time must be found although their DLL was not there
// when they were first looked for.
#include "app/RegKey.h"
#include "core/Application.h"
#include "framework/DpiScale.h"
#include "framework/SystemCall.h"

#include <gtest/gtest.h>

#include <string>

#include <ctype.h>

extern const char kSettingsRegistryKey[];

namespace {

std::string LowerPathOf(HMODULE module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    std::string lower(path);
    for (char& c : lower)
        c = (char)tolower((unsigned char)c);
    return lower;
}

// First, before any window DLL is loaded (user32 loads advapi32 itself): a
// start that ends unseen reads its settings, and writes what it keeps of a
// long file, without loading advapi32 and the DLLs it pulls in; what is
// left to advapi32 loads it from the system folder.
TEST(DelayLoaded, SettingsAreReadAndWrittenWithoutAdvapi32)
{
    ASSERT_EQ(nullptr, GetModuleHandleA("advapi32.dll")) << "advapi32 must not be loaded yet";
    theApp.LoadSettings();
    EXPECT_EQ(10, theApp.Range);
    EXPECT_EQ(nullptr, GetModuleHandleA("advapi32.dll")) << "reading the settings loaded advapi32";

    RegKey settings;
    ASSERT_TRUE(settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey));
    ASSERT_TRUE(settings.WriteNumber("Range", 21));
    ASSERT_TRUE(settings.WriteBinary("Probe", "\1\2", 2));
    EXPECT_EQ(nullptr, GetModuleHandleA("advapi32.dll")) << "writing the settings loaded advapi32";
    theApp.LoadSettings();
    EXPECT_EQ(21, theApp.Range);

    ASSERT_TRUE(settings.DeleteValue("Probe"));
    settings.Close();
    HMODULE advapi32 = GetModuleHandleA("advapi32.dll");
    ASSERT_NE(nullptr, advapi32);
    EXPECT_NE(std::string::npos, LowerPathOf(advapi32).find("\\system32\\"));
}

TEST(DelayLoaded, TheWindowsOwnDpiIsFoundWhenAskedBeforeItsDllIsLoaded)
{
    ASSERT_EQ(nullptr, GetModuleHandleA("user32.dll")) << "user32 must not be loaded yet";
    // As at start-up: the screen's DPI and a metric are asked for first.
    int screen = DpiOf(NULL);
    EXPECT_GT(SystemMetricForDpi(SM_CXICON, screen), 0);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ASSERT_NE(nullptr, user32);
    EXPECT_NE(std::string::npos, LowerPathOf(user32).find("\\system32\\"));

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(WindowDpiIsAsked()) << "the per-window DPI call was not found";
    typedef UINT(WINAPI * DpiForWindowCall)(HWND);
    DpiForWindowCall direct = FindSystemCall<DpiForWindowCall>("user32.dll", "GetDpiForWindow");
    ASSERT_NE(nullptr, direct);
    EXPECT_EQ((int)direct(window), DpiOf(window));
    DestroyWindow(window);
}

TEST(DelayLoaded, ADllNotLoadedYetComesFromTheSystemFolder)
{
    ASSERT_EQ(nullptr, GetModuleHandleA("shcore.dll"));
    HMODULE shcore = SystemModule("shcore.dll");
    ASSERT_NE(nullptr, shcore);
    EXPECT_NE(std::string::npos, LowerPathOf(shcore).find("\\system32\\"));
    EXPECT_EQ(nullptr, SystemModule("no-such-library.dll"));
}

} // namespace
