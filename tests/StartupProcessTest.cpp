// "Run at startup" and the one-window guard through Tarvendel.exe itself:
// the file it is started from, renamed or in a folder outside the code page,
// is what Setup writes; the user's start-up switch stops a RUN start; a guard
// held with no window behind it does not silence a start; a second start
// brings the dialog open over a minimized window forward.
#include "app/StartupTask.h"
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// A copy of the program as folder\name (UTF-8), for starts from elsewhere.
std::string CopyAs(const std::string& folder, const std::string& name)
{
    std::string program = folder + name;
    CreateDirectoryW(Wide(folder).c_str(), NULL);
    EXPECT_TRUE(CopyFileW(Wide(TarvendelPath()).c_str(), Wide(program).c_str(), FALSE)) << program;
    return program;
}

std::wstring RunValue()
{
    wchar_t text[600] = L"";
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(kRunKey).c_str(), L"Tarvendel", RRF_RT_REG_SZ, NULL,
                     text, &size) != ERROR_SUCCESS)
        return L"(none)";
    return text;
}

std::string Narrow(const std::wstring& wide)
{
    char text[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text, sizeof text, NULL, NULL);
    return text;
}

class StartupProcess : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ClearSettings();
        long error = 0;
        DeleteStartupTask(&error);
        RemoveTree(PellixFolder());
    }
};

// Setup with "Run at startup" ticked, in a program started from each of
// these files: login (the Run value) and unlock and wake (the task) start
// that very file, named in full whatever script its folder is named in.
TEST_F(StartupProcess, SetupPointsTheRunValueAndTheTaskAtTheFileThatIsRunning)
{
    const struct {
        const char* why;
        const char* folder; // under a new temporary folder, UTF-8
        const char* name;
        const char* before; // the Run value before, or NULL
        int shownTicked;
        int clicks;
    } cases[] = {
        {"a second download keeps its name", "Downloads\\", "Tarvendel (1).exe", NULL, 0, 1},
        {"a Cyrillic folder", "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B\\",
         "Tarvendel.exe", NULL, 0, 1},
        {"a Polish folder", "\xC5\x81\xC3\xB3" "d\xC5\xBA\\", "Tarvendel.exe", NULL, 0, 1},
        {"moved: one OK, unchanged, re-points the entry", "New Place\\", "Tarvendel.exe",
         "C:\\Old Place\\Tarvendel.exe RUN", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        if (c.before != NULL)
            RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tarvendel", REG_SZ, c.before,
                            (DWORD)strlen(c.before) + 1);
        std::string temp = NewTempFolder();
        std::string program = CopyAs(temp + c.folder, c.name);
        int shown = -1;
        std::vector<std::string> boxes;
        ProcessRun run = RunProgram(program, "", IDOK, 30000, [&](HWND main) {
            shown = RunRemoteSetup(main, c.clicks, &boxes);
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(c.shownTicked, shown);
        EXPECT_EQ(0u, boxes.size()) << (boxes.empty() ? "" : boxes[0]);
        std::wstring expected = Wide(program);
        if (expected.find(L' ') != std::wstring::npos)
            expected = L"\"" + expected + L"\"";
        EXPECT_EQ(Narrow(expected + L" RUN"), Narrow(RunValue()));
        // This user's task, by the name that carries the user's SID; none
        // for the whole computer. (Wine keeps no action of a task, so the
        // file it names is seen in the definition tests only.)
        EXPECT_EQ(1, UserTaskExists());
        EXPECT_EQ(0, TaskExists(L"Tarvendel"));
        RemoveTree(temp);
    }
}

// The scheduler refuses a command longer than 260 characters: the user is
// told, the task is not left half made.
TEST_F(StartupProcess, ATaskThatCannotBeRegisteredIsSaidNotSwallowed)
{
    std::string temp = NewTempFolder();
    // 259 characters with a blank: 261 once quoted for the task's command.
    std::string outer = temp + "A B\\";
    CreateDirectoryA(outer.c_str(), NULL);
    std::string folder = outer + std::string(259 - outer.size() - 14, 'x') + "\\";
    std::string program = CopyAs(folder, "Tarvendel.exe");
    ASSERT_EQ(259u, program.size());
    std::vector<std::string> boxes;
    ProcessRun run = RunProgram(program, "", IDOK, 30000, [&](HWND main) {
        RunRemoteSetup(main, 1, &boxes);
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(run.finished);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Can't register the start-up task\nerror 0x80070057", boxes[0]);
    EXPECT_EQ(0, UserTaskExists());
    RemoveTree(temp);
}

// Turned off in Task Manager or Settings, Windows no longer starts the Run
// value; the task's RUN starts at unlock and wake must not open it either.
TEST_F(StartupProcess, ARunStartEndsAtOnceWhileTheUserHasItSwitchedOff)
{
    const struct {
        int value; // the switch's first byte, -1 for none
        int opens;
    } cases[] = {{-1, 1}, {3, 0}};
    for (const auto& c : cases) {
        TearDown();
        ASSERT_TRUE(WriteDataFile(DateText(1, 1) + " Due tomorrow\r\n"));
        if (c.value >= 0) {
            BYTE data[12] = {(BYTE)c.value, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 1};
            RegSetKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel", REG_BINARY, data,
                            sizeof data);
        }
        int opened = 0;
        ProcessRun run = RunProgram(TarvendelPath(), "RUN", IDOK, 20000, [&](HWND main) {
            opened = 1;
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(run.finished) << c.value;
        EXPECT_EQ(0u, run.exitCode) << c.value;
        EXPECT_EQ(c.opens, opened) << c.value;
        if (!c.opens) {
            EXPECT_EQ(0, run.windowsShown) << c.value;
        }
    }
    // A start by hand is the user's own wish and opens.
    int opened = 0;
    RunProgram(TarvendelPath(), "", IDOK, 20000, [&](HWND main) {
        opened = 1;
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(1, opened);
}

// Another process holds the window's guard (a hung Tarvendel, or any program
// that took the name): after a short wait the start opens all the same.
TEST_F(StartupProcess, AGuardHeldWithNoWindowDoesNotSilenceAStart)
{
    ASSERT_TRUE(WriteDataFile(DateText(1, 1) + " Due tomorrow\r\n"));
    HANDLE squatter = CreateMutexA(NULL, TRUE, "Local\\PellixFreeware.Tarvendel.MainWindow");
    ASSERT_NE((HANDLE)NULL, squatter);
    for (const char* arguments : {"", "RUN"}) {
        int opened = 0;
        DWORD started = GetTickCount();
        DWORD took = 0;
        ProcessRun run = RunProgram(TarvendelPath(), arguments, IDOK, 20000, [&](HWND main) {
            took = GetTickCount() - started;
            opened = 1;
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(run.finished) << arguments;
        EXPECT_EQ(0u, run.exitCode) << arguments;
        EXPECT_EQ(1, opened) << "a start with \"" << arguments << "\" ended unseen";
        EXPECT_GE(took, 1500u) << "it did not wait for a window to come";
        EXPECT_LT(took, 10000u);
        // The RUN start's day is now written: the next one would stay unseen.
        ClearSettings();
    }
    CloseHandle(squatter);
}

// Setup open over the window, then minimized with it: a second start must
// bring the dialog forward, not the main window it has disabled.
TEST_F(StartupProcess, ASecondStartBringsForwardTheDialogOpenOverAMinimizedWindow)
{
    HWND dialog = NULL;
    HWND foreground = NULL;
    int mainIconic = -1, dialogVisible = 0;
    ProcessRun second = {};
    ProcessRun first = RunProgram(TarvendelPath(), "", IDOK, 30000, [&](HWND main) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(40003, 0), 0);
        dialog = WaitForWindowOfClass(main, "#32770", 10000);
        ShowWindow(main, SW_MINIMIZE);
        Sleep(200);
        second = RunProgram(TarvendelPath(), "");
        Sleep(200);
        foreground = GetForegroundWindow();
        mainIconic = IsIconic(main);
        dialogVisible = IsWindowVisible(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        Sleep(200);
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    ASSERT_NE((HWND)NULL, dialog);
    EXPECT_TRUE(first.finished);
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(0, second.windowsShown);
    EXPECT_EQ(0, mainIconic);
    EXPECT_TRUE(dialogVisible);
    EXPECT_EQ(dialog, foreground) << "the dialog was left behind";
}

} // namespace
