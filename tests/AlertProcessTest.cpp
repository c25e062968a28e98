// Alerts through Tarvendel.exe itself: the alert task's start (/RALERT) with
// a reminder due and with none, its window's answers and what they leave in
// the settings, and the task following the saves. (Wine keeps a task but
// not its trigger: the definition itself is checked by the schema test.)
#include "core/BoundedString.h"
#include "core/NextAlert.h"
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>

namespace {

const std::wstring AlertTaskName() { return L"Tarvendel-Alert-" + UserSid(); }

AlertMinute Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MinuteOf(reinterpret_cast<DateRecord*>(&now));
}

// A data-file line of a reminder at minute, one-off.
std::string LineAt(AlertMinute minute, const char* text)
{
    DateRecord at;
    DateOfMinute(minute, &at);
    char date[12], time[12];
    FormatDate(&at, date, sizeof date);
    FormatTime24(&at, time, sizeof time);
    return std::string(date) + "\t" + time + " " + text + "\r\n";
}

// The list's line of a reminder of today at minute.
std::string ShownAt(AlertMinute minute, const char* text)
{
    DateRecord at;
    DateOfMinute(minute, &at);
    char time[12];
    FormatTime12(&at, time, sizeof time);
    return std::string(time) + "  " + text;
}

HWND ChildWithText(HWND parent, const char* text)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (RemoteText(child) == text)
            return child;
    }
    return NULL;
}

struct AlertRun {
    ProcessRun run;
    std::vector<std::string> lines; // its alert window's list
    int onTop;
};

// Tarvendel.exe /RALERT; answer is handed its alert window.
AlertRun StartAlert(const std::function<void(HWND)>& answer)
{
    AlertRun result = {{}, {}, 0};
    StartedAs as;
    as.visited = "CMSGCLASS";
    result.run = RunProgram(TarvendelPath(), "/RALERT", IDOK, 20000, [&](HWND alert) {
        result.lines = RemoteListLines(FindChildOfClass(alert, "LISTBOX"));
        result.onTop = (GetWindowLongA(alert, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        answer(alert);
    }, as);
    return result;
}

// Remove on the list's first line, "Delete this reminder?" answered Yes, then Save.
void RemoveFirstAndSave(HWND main, HWND list)
{
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(40006, 0), 0);
    HWND box = WaitForWindowOfClass(main, "CMSGCLASS", 5000);
    ASSERT_NE((HWND)NULL, box);
    PressButton(box, IDYES, RemoteText);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
        Sleep(20);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(40009, 0), 0);
}

// Setup opened, "Alert at the reminder's time" clicked, OK.
void ToggleAlertsInSetup(HWND main)
{
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(40003, 0), 0);
    HWND setup = WaitForWindowOfClass(main, "#32770", 5000);
    ASSERT_NE((HWND)NULL, setup);
    SendMessageA(GetDlgItem(setup, 1020), BM_CLICK, 0, 0);
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    for (int i = 0; i < 100 && IsWindow(setup); ++i)
        Sleep(20);
}

class AlertProcess : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ClearSettings();
        DeleteTestTask(AlertTaskName());
        RemoveTree(PellixFolder());
    }
};

// A reminder due a minute ago, one ahead, one without a time, one more than
// a day back and one the last alert showed: the window lists the first
// alone; every way of answering leaves the settings as they must be.
TEST_F(AlertProcess, ADueReminderIsShownAloneAndEachAnswerIsKept)
{
    const struct {
        const char* how;
        int snooze;        // minutes asked for, 0 for none
        int choice;        // the choice left in the settings
    } cases[] = {
        {"Dismiss", 0, 1},
        {"Esc", 0, 1},
        {"close box", 0, 1},
        {"Snooze", 30, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        TearDown();
        AlertMinute now = Now();
        AlertMinute ahead = now + 120;
        ASSERT_TRUE(WriteDataFile(LineAt(now - 1, "Dentist") + LineAt(ahead, "Later") +
                                  DateText(0, 1) + " Untimed\r\n" +
                                  LineAt(now - 25 * 60, "Too old") +
                                  LineAt(now - 11, "Shown before")));
        ASSERT_TRUE(StoreSetting("AlertShown", REG_DWORD, SettingBytes((DWORD)(now - 10))));
        std::string how = c.how;
        AlertRun run = StartAlert([&](HWND alert) {
            if (how == "Dismiss") {
                PostMessageA(ChildWithText(alert, "&Dismiss"), BM_CLICK, 0, 0);
            } else if (how == "Esc") {
                GUITHREADINFO info = {};
                info.cbSize = sizeof info;
                GetGUIThreadInfo(GetWindowThreadProcessId(alert, NULL), &info);
                PostMessageA(info.hwndFocus, WM_KEYDOWN, VK_ESCAPE, 0);
            } else if (how == "close box") {
                PostMessageA(alert, WM_CLOSE, 0, 0);
            } else {
                SendMessageA(FindChildOfClass(alert, "ComboBox"), CB_SETCURSEL, 3, 0);
                PostMessageA(ChildWithText(alert, "&Snooze"), BM_CLICK, 0, 0);
            }
        });
        EXPECT_TRUE(run.run.finished);
        EXPECT_EQ(0u, run.run.exitCode);
        EXPECT_TRUE(run.onTop);
        EXPECT_EQ(std::vector<std::string>{ShownAt(now - 1, "Dentist")}, run.lines);
        long long shown = ReadSetting("AlertShown");
        EXPECT_GE(shown, (long long)now);
        EXPECT_LE(shown, (long long)Now());
        EXPECT_EQ(c.choice, ReadSetting("SnoozeChoice"));
        if (c.snooze != 0) {
            long long until = ReadSetting("SnoozeUntil");
            EXPECT_GE(until, (long long)now + c.snooze);
            EXPECT_LE(until, (long long)Now() + c.snooze);
            EXPECT_EQ((long long)(now - 1), ReadSetting("SnoozeFrom"));
            EXPECT_EQ((long long)(now - 1), ReadSetting("SnoozeTo"));
            // The snooze comes before the reminder two hours ahead.
            EXPECT_EQ(until, ReadSetting("AlertArmed"));
        } else {
            EXPECT_EQ(0, ReadSetting("SnoozeUntil"));
            EXPECT_EQ((long long)ahead, ReadSetting("AlertArmed"));
        }
        EXPECT_EQ(1, TaskExists(AlertTaskName()));
    }
}

// The snooze over, the alert start brings back the snoozed reminder, though
// its time lies before the last alert shown.
TEST_F(AlertProcess, ASnoozeThatIsOverBringsItsReminderBack)
{
    AlertMinute now = Now();
    ASSERT_TRUE(WriteDataFile(LineAt(now - 40, "Dentist") + LineAt(now - 45, "Not snoozed")));
    StoreSetting("AlertShown", REG_DWORD, SettingBytes((DWORD)(now - 30)));
    StoreSetting("SnoozeUntil", REG_DWORD, SettingBytes((DWORD)(now - 1)));
    StoreSetting("SnoozeFrom", REG_DWORD, SettingBytes((DWORD)(now - 40)));
    StoreSetting("SnoozeTo", REG_DWORD, SettingBytes((DWORD)(now - 40)));
    AlertRun run = StartAlert([](HWND alert) { PostMessageA(alert, WM_CLOSE, 0, 0); });
    EXPECT_EQ(0u, run.run.exitCode);
    EXPECT_EQ(std::vector<std::string>{ShownAt(now - 40, "Dentist")}, run.lines);
    EXPECT_EQ(0, ReadSetting("SnoozeUntil"));
    EXPECT_EQ(0, ReadSetting("AlertArmed"));
    EXPECT_EQ(0, TaskExists(AlertTaskName()));
}

// Nothing due: the alert start ends at once with 0 and shows nothing, and
// moves the task to what is ahead; a file it cannot read ends it with 1,
// also unseen; an open main window does not hold it back.
TEST_F(AlertProcess, WithNothingDueOrNoFileItEndsUnseen)
{
    AlertMinute now = Now();
    ASSERT_TRUE(WriteDataFile(LineAt(now + 60, "Later") + LineAt(now - 3, "Shown before")));
    StoreSetting("Alerts", REG_BINARY, SettingBytes(1, 1));
    StoreSetting("AlertShown", REG_DWORD, SettingBytes((DWORD)(now - 1)));
    // A main window open (a start by hand) does not count.
    ProcessRun hand = RunProgram(TarvendelPath(), "", IDOK, 30000, [&](HWND main) {
        AlertRun run = StartAlert([](HWND alert) { PostMessageA(alert, WM_CLOSE, 0, 0); });
        EXPECT_TRUE(run.run.finished);
        EXPECT_EQ(0u, run.run.exitCode);
        EXPECT_EQ(0, run.run.windowsShown);
        EXPECT_EQ((long long)(now + 60), ReadSetting("AlertArmed"));
        EXPECT_EQ(1, TaskExists(AlertTaskName()));
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(hand.finished);

    DeleteFileA(DataFilePath().c_str());
    AlertRun run = StartAlert([](HWND alert) { PostMessageA(alert, WM_CLOSE, 0, 0); });
    EXPECT_EQ(1u, run.run.exitCode);
    EXPECT_EQ(0, run.run.windowsShown);
}

// A start from the start-up list that ends unseen still moves the task to
// a pending snooze, and writes back the alert's other values as they were.
TEST_F(AlertProcess, AStartThatEndsUnseenMovesTheTaskAndKeepsTheAlertsState)
{
    AlertMinute now = Now();
    // Past the range: nothing opens.
    ASSERT_TRUE(WriteDataFile(LineAt(now + 20 * 24 * 60, "Dentist")));
    const struct {
        const char* name;
        AlertMinute stored, left;
    } values[] = {{"AlertArmed", now + 5, now + 30}, {"AlertShown", now - 20, now - 20},
                  {"SnoozeUntil", now + 30, now + 30}, {"SnoozeFrom", now - 50, now - 50},
                  {"SnoozeTo", now - 40, now - 40},    {"SnoozeChoice", 4, 4}};
    for (const auto& value : values)
        StoreSetting(value.name, REG_DWORD, SettingBytes((DWORD)value.stored));
    ProcessRun run = RunProgram(TarvendelPath(), "RUN");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0, run.windowsShown);
    EXPECT_EQ(1, TaskExists(AlertTaskName()));
    for (const auto& value : values)
        EXPECT_EQ((long long)value.left, ReadSetting(value.name)) << value.name;
}

// A save with a timed reminder ahead sets the task (also where it was lost
// meanwhile); the save that leaves none removes it; "Alert at the
// reminder's time" unticked removes it as well.
TEST_F(AlertProcess, TheTaskFollowsTheSaves)
{
    AlertMinute ahead = Now() + 24 * 60;
    ASSERT_TRUE(WriteDataFile(DateText(1, 1) + " Untimed\r\n" + LineAt(ahead, "Dentist")));
    int afterFirstSave = -1, afterSecondSave = -1, switchedOff = -1, switchedOn = -1;
    long long armedFirst = -1, armedSecond = -1;
    ProcessRun run = RunProgram(TarvendelPath(), "", IDOK, 30000, [&](HWND main) {
        HWND list = FindChildOfClass(main, "LISTBOX");
        // The task lost (a cleaner, another computer's copy of the settings).
        DeleteTestTask(AlertTaskName());
        StoreSetting("AlertArmed", REG_DWORD, SettingBytes(0));
        RemoveFirstAndSave(main, list);
        afterFirstSave = TaskExists(AlertTaskName());
        armedFirst = ReadSetting("AlertArmed");
        ToggleAlertsInSetup(main);
        switchedOff = TaskExists(AlertTaskName()) + 10 * (int)ReadSetting("Alerts");
        ToggleAlertsInSetup(main);
        switchedOn = TaskExists(AlertTaskName()) + 10 * (int)ReadSetting("Alerts");
        RemoveFirstAndSave(main, list);
        afterSecondSave = TaskExists(AlertTaskName());
        armedSecond = ReadSetting("AlertArmed");
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(1, afterFirstSave);
    EXPECT_EQ((long long)ahead, armedFirst);
    EXPECT_EQ(0, switchedOff) << "task, and 10 times the setting";
    EXPECT_EQ(11, switchedOn) << "task, and 10 times the setting";
    EXPECT_EQ(0, afterSecondSave);
    EXPECT_EQ(0, armedSecond);
}

} // namespace
