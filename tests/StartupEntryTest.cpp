// "Run at startup" in the registry and the Task Scheduler: the Run value names
// the running file as the task does, the user's switch in the system's
// start-up list is read and respected, and applying the option leaves one
// consistent state behind.
#include "app/StartupEntry.h"
#include "app/StartupTask.h"
#include "core/Application.h"
#include "core/BoundedString.h"
#include "support/AppState.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct WideValue {
    int found;
    DWORD type;
    std::wstring text; // up to the first NUL
    DWORD bytes;
};

WideValue FetchWide(const char* key, const wchar_t* name)
{
    WideValue v = {0, 0, L"", 0};
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return v;
    wchar_t data[600] = L"";
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegQueryValueExW(k, name, NULL, &v.type, (BYTE*)data, &size) == ERROR_SUCCESS) {
        v.found = 1;
        v.text = data;
        v.bytes = size;
    }
    RegCloseKey(k);
    return v;
}

void StoreSwitch(BYTE first)
{
    BYTE data[12] = {first, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
    RegSetKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel", REG_BINARY, data, sizeof data);
}

void StoreRunValue(const char* text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tarvendel", REG_SZ, text, (DWORD)strlen(text) + 1);
}

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    return path;
}

class StartupEntry : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ClearSettings();
        ResetApplication();
        long error = 0;
        DeleteStartupTask(&error);
        DeleteTestTask(L"Tarvendel");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Other");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Other");
    }
};

TEST(RunEntry, NamesTheRunningFileItselfAndQuotesAPathWithBlanks)
{
    const struct {
        const wchar_t* program;
        const wchar_t* entry;
    } cases[] = {
        // Byte for byte what earlier versions wrote for the usual name.
        {L"C:\\Apps\\Tarvendel.exe", L"C:\\Apps\\Tarvendel.exe RUN"},
        // A second download keeps its own name: login starts that file.
        {L"C:\\Users\\Ann\\Downloads\\Tarvendel (1).exe",
         L"\"C:\\Users\\Ann\\Downloads\\Tarvendel (1).exe\" RUN"},
        {L"C:\\Apps\\reminder.exe", L"C:\\Apps\\reminder.exe RUN"},
        {L"C:\\Program Files\\Tarvendel\\Tarvendel.exe",
         L"\"C:\\Program Files\\Tarvendel\\Tarvendel.exe\" RUN"},
        {L"C:\\\x041F\x0440\x043E\x0433\x0440\x0430\x043C\x043C\x044B\\Tarvendel.exe",
         L"C:\\\x041F\x0440\x043E\x0433\x0440\x0430\x043C\x043C\x044B\\Tarvendel.exe RUN"},
        {L"C:\\\x0141\x00F3\x0064\x017A\\Tarvendel.exe", L"C:\\\x0141\x00F3\x0064\x017A\\Tarvendel.exe RUN"},
    };
    for (const auto& c : cases) {
        wchar_t entry[kRunEntryLength];
        EXPECT_EQ(1, BuildRunEntry(c.program, entry, kRunEntryLength));
        EXPECT_EQ(std::wstring(c.entry), entry);
    }
    // Cut, it would start some other file at login: nothing rather.
    std::wstring deep = L"C:\\My " + std::wstring(256, L'd') + L"\\Tarvendel.exe";
    wchar_t entry[kRunEntryLength];
    EXPECT_EQ(0, BuildRunEntry(deep.c_str(), entry, kRunEntryLength));
    EXPECT_EQ(std::wstring(), entry);
}

TEST_F(StartupEntry, TheUsersSwitchIsOffOnlyWhenItsFirstByteIsOdd)
{
    EXPECT_EQ(0, StartupSwitchedOff()) << "no value";
    const struct {
        BYTE first;
        int off;
    } cases[] = {{2, 0}, {6, 0}, {3, 1}, {7, 1}, {0x63, 1}, {0, 0}};
    for (const auto& c : cases) {
        StoreSwitch(c.first);
        EXPECT_EQ(c.off, StartupSwitchedOff()) << (int)c.first;
    }
    // Another program's switch is its own.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel");
    BYTE off[12] = {3};
    RegSetKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Other", REG_BINARY, off, sizeof off);
    EXPECT_EQ(0, StartupSwitchedOff());
}

TEST_F(StartupEntry, OnPointsTheRunValueAndTheTaskAtTheRunningFileAndClearsTheSwitch)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string startup = std::string(windows) + "\\StartM~1\\Programs\\Startup\\";
    for (const char* sub : {"\\StartM~1", "\\StartM~1\\Programs", "\\StartM~1\\Programs\\Startup"})
        CreateDirectoryA((windows + std::string(sub)).c_str(), NULL);
    WriteFileText(startup + "Tarvendel.exe.lnk", "old");
    StoreRunValue("C:\\Old Place\\Tarvendel.exe RUN");
    RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Other", REG_SZ, "other.exe", 10);
    StoreSwitch(3);

    // Typed as a bare name: the running file is what counts.
    CopyText(theApp.programPath, sizeof theApp.programPath, "Tarvendel.exe");
    theApp.runAtStartup = 1;
    EXPECT_EQ(1, theApp.ApplyRunAtStartup());
    WideValue entry = FetchWide(kRunKey, L"Tarvendel");
    ASSERT_TRUE(entry.found);
    EXPECT_EQ((DWORD)REG_SZ, entry.type);
    std::wstring program = ThisProgram();
    if (program.find(L' ') != std::wstring::npos)
        program = L"\"" + program + L"\"";
    EXPECT_EQ(program + L" RUN", entry.text);
    EXPECT_EQ((entry.text.size() + 1) * sizeof(wchar_t), entry.bytes); // with its NUL
    EXPECT_EQ(1, UserTaskExists());
    EXPECT_EQ(0, StartupSwitchedOff());
    EXPECT_EQ(1, StartupIsOn());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((startup + "Tarvendel.exe.lnk").c_str()));

    theApp.runAtStartup = 0;
    EXPECT_EQ(1, theApp.ApplyRunAtStartup());
    EXPECT_FALSE(FetchWide(kRunKey, L"Tarvendel").found);
    EXPECT_EQ(0, UserTaskExists());
    EXPECT_FALSE(FetchWide(kApprovedKey, L"Tarvendel").found);
    EXPECT_TRUE(FetchWide(kRunKey, L"Other").found);
    EXPECT_EQ(0, StartupIsOn());
    // Off twice is still off, not a failure.
    EXPECT_EQ(1, theApp.ApplyRunAtStartup());
}

} // namespace
