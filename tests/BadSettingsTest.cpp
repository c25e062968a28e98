// Tarvendel.exe started over settings that some other program, an old version
// or a hand in the registry editor has spoiled: each value of the Settings key
// of the wrong type, the wrong size, missing or absurd. The program must start,
// read each value as its store reads values (by size, never by type), and show
// its window where the user can see it.
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <string.h>

namespace {

void Store(const char* name, DWORD type, const std::string& data)
{
    ASSERT_TRUE(StoreSetting(name, type, data)) << name;
}

std::string Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT r = {left, top, right, bottom};
    return std::string((const char*)&r, sizeof r);
}

// Options stored unlike their defaults, so that a value read as missing shows.
const struct {
    const char* name;
    long stored;
    long byDefault;
} kOptions[] = {
    {"Range", 20, 10},     {"AutoRemove", 0, 1}, {"RunOnce", 0, 1},
    {"AlwaysRun", 1, 0},   {"AskTime", 1, 0},    {"TimeCol", 0, 1},
};

struct BadValue {
    const char* name;  // the value of the Settings key
    const char* how;
    DWORD type;
    std::string data;  // the value is deleted when type is kMissing
    long reads;        // what the program takes an option as; unused for the others
    int restored;      // the saved placement applied: 1, 0, or -1 for either
};

const DWORD kMissing = (DWORD)-1;

std::vector<BadValue> BadValues()
{
    std::vector<BadValue> cases = {
        {"Range", "binary, the same four bytes", REG_BINARY, SettingBytes(20), 20, 1},
        {"Range", "typed as the text 15", REG_SZ, std::string("15", 3), 0x3531, 1},
        {"Range", "of two bytes", REG_BINARY, SettingBytes(5, 2), 5, 1},
        {"Range", "of eight bytes", REG_QWORD, SettingBytes(5, 8), 10, 1},
        {"Range", "missing", kMissing, "", 10, 1},
        {"Range", "0", REG_DWORD, SettingBytes(0), 0, 1},
        {"Range", "4294967295", REG_DWORD, SettingBytes(4294967295u), -1, 1},
        {"TimeCol", "of no bytes", REG_BINARY, "", 0, 1},
        {"RunDay", "binary, the same four bytes", REG_BINARY, SettingBytes(InDays(-1).wDay), 0, 1},
        {"RunDay", "of eight bytes", REG_QWORD, SettingBytes(InDays(0).wDay, 8), 0, 1},
        {"RunDay", "missing", kMissing, "", 0, 1},
        {"RunDay", "4294967295", REG_DWORD, SettingBytes(4294967295u), 0, 1},
        {"RunDate", "binary, the same four bytes", REG_BINARY, SettingBytes(19990101), 0, 1},
        {"RunDate", "of eight bytes", REG_QWORD, SettingBytes(20991231, 8), 0, 1},
        {"RunDate", "missing", kMissing, "", 0, 1},
        {"RunDate", "4294967295", REG_DWORD, SettingBytes(4294967295u), 0, 1},
        {"flags", "binary, the same four bytes", REG_BINARY, SettingBytes(0), 0, 1},
        {"flags", "of eight bytes", REG_QWORD, SettingBytes(0, 8), 0, 0},
        {"flags", "missing", kMissing, "", 0, 0},
        {"flags", "4294967295", REG_DWORD, SettingBytes(4294967295u), 0, -1},
        {"showCmd", "binary, the same four bytes", REG_BINARY, SettingBytes(SW_SHOWNORMAL), 0, 1},
        {"showCmd", "of eight bytes", REG_QWORD, SettingBytes(SW_SHOWNORMAL, 8), 0, 0},
        {"showCmd", "missing", kMissing, "", 0, 0},
        {"showCmd", "SW_HIDE", REG_DWORD, SettingBytes(SW_HIDE), 0, -1},
        {"showCmd", "4294967295", REG_DWORD, SettingBytes(4294967295u), 0, -1},
        {"rcNormal", "a number, the same sixteen bytes", REG_DWORD, Rect(100, 80, 720, 336), 0, 1},
        {"rcNormal", "of eight bytes", REG_BINARY, Rect(100, 80, 720, 336).substr(0, 8), 0, 0},
        {"rcNormal", "of 20 bytes", REG_BINARY, Rect(100, 80, 720, 336) + SettingBytes(0), 0, 0},
        {"rcNormal", "missing", kMissing, "", 0, 0},
        {"rcNormal", "far right and below", REG_BINARY, Rect(30000, 30000, 30620, 30256), 0, 0},
        {"rcNormal", "far left and above", REG_BINARY, Rect(-30000, -30000, -29380, -29744), 0, 0},
        {"rcNormal", "at the most negative edges", REG_BINARY,
         Rect(-2147483647 - 1, -2147483647 - 1, -2147483000, -2147483000), 0, 0},
        {"rcNormal", "inside out", REG_BINARY, Rect(720, 336, 100, 80), 0, 0},
        {"rcNormal", "of no size", REG_BINARY, Rect(300, 200, 300, 200), 0, 0},
    };
    // Each option flag: the same byte as a number, four bytes, missing, and 255.
    for (const auto& option : kOptions) {
        if (strcmp(option.name, "Range") == 0)
            continue;
        cases.push_back({option.name, "a number, the same byte", REG_DWORD,
                         std::string(1, (char)option.stored), option.stored, 1});
        cases.push_back({option.name, "of four bytes", REG_DWORD,
                         SettingBytes((DWORD)option.stored), option.byDefault, 1});
        cases.push_back({option.name, "missing", kMissing, "", option.byDefault, 1});
        cases.push_back({option.name, "255", REG_BINARY, std::string(1, '\xff'), 1, 1});
    }
    return cases;
}

// Every value as the program saves it, with the options unlike their defaults
// and a last run that started yesterday.
void StoreGoodSettings()
{
    for (const auto& option : kOptions) {
        if (strcmp(option.name, "Range") == 0)
            Store(option.name, REG_DWORD, SettingBytes((DWORD)option.stored));
        else
            Store(option.name, REG_BINARY, std::string(1, (char)option.stored));
    }
    SYSTEMTIME yesterday = InDays(-1);
    Store("RunDay", REG_DWORD, SettingBytes(yesterday.wDay));
    Store("RunDate", REG_DWORD,
          SettingBytes(yesterday.wYear * 10000u + yesterday.wMonth * 100u + yesterday.wDay));
    Store("flags", REG_DWORD, SettingBytes(0));
    Store("showCmd", REG_DWORD, SettingBytes(SW_SHOWNORMAL));
    Store("rcNormal", REG_BINARY, Rect(100, 80, 720, 336));
}

// What the main window showed.
struct Seen {
    int visible = 0, minimized = 0;
    RECT rect = {0, 0, 0, 0};
    std::string todayLine;
    int reminderModeLines = -1;
};

class BadSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        // Annual reminders today and 5, 15 and 30 days on, and one long past.
        file = DateText(0, 0) + " Today\r\n" + DateText(5, 0) + " Soon\r\n" + DateText(15, 0) +
               " Later\r\n" + DateText(30, 0) + " Next month\r\n01/01/99 Long past\r\n";
    }
    void TearDown() override
    {
        ClearSettings();
        RemoveTree(DataFolderPath());
    }

    std::string file;
};

// Whether at least an icon's width and height of the rectangle lies on the screen.
int OnScreen(const RECT& r)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, shown;
    return IntersectRect(&shown, &r, &screen) &&
           shown.right - shown.left >= GetSystemMetrics(SM_CXICON) &&
           shown.bottom - shown.top >= GetSystemMetrics(SM_CYICON);
}

TEST_F(BadSettings, EachSpoiledValueStillOpensTheWindowOnTheScreenAndReadsAsTheStoreSays)
{
    for (const BadValue& bad : BadValues()) {
        const std::string name = std::string(bad.name) + " " + bad.how;
        SCOPED_TRACE(name);
        ClearSettings();
        StoreGoodSettings();
        // The day of the last run counts only when running once a day.
        const int onceADay = strcmp(bad.name, "RunDay") == 0 || strcmp(bad.name, "RunDate") == 0;
        if (onceADay)
            Store("RunOnce", REG_BINARY, std::string(1, '\1'));
        if (bad.type == kMissing)
            ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, bad.name));
        else
            Store(bad.name, bad.type, bad.data);
        ASSERT_TRUE(WriteDataFile(file));

        Seen seen;
        // The once-a-day values matter only to a start from the start-up list,
        // which must open the window for today's reminder.
        ProcessRun run = RunProgram(TarvendelPath(), onceADay ? "RUN" : "", IDOK, 20000,
                                    [&seen, onceADay](HWND main) {
            seen.visible = IsWindowVisible(main);
            seen.minimized = IsIconic(main);
            GetWindowRect(main, &seen.rect);
            HWND list = FindChildOfClass(main, "LISTBOX");
            for (const std::string& line : RemoteListLines(list))
                if (line.find("Today") != std::string::npos)
                    seen.todayLine = line;
            if (!onceADay) {
                PostMessageA(main, WM_COMMAND, 40007, 0); // Mode: Reminder mode
                Sleep(200);
            }
            seen.reminderModeLines = (int)RemoteListLines(list).size();
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(0u, run.boxes.size()) << run.boxes[0].text;
        ASSERT_TRUE(seen.visible) << "no window";
        EXPECT_FALSE(seen.minimized);
        EXPECT_TRUE(OnScreen(seen.rect)) << Corners(seen.rect);
        if (bad.restored >= 0) {
            RECT saved = {100, 80, 720, 336};
            EXPECT_EQ(bad.restored, EqualRect(&saved, &seen.rect) ? 1 : 0);
        }

        // What the options were taken as: the window shows some, and the
        // program saves them all as it holds them when it closes.
        long expected[6];
        for (int i = 0; i < 6; ++i)
            expected[i] = strcmp(kOptions[i].name, bad.name) == 0 ? bad.reads : kOptions[i].stored;
        if (onceADay)
            expected[2] = 1;
        for (int i = 0; i < 6; ++i) {
            long long written = ReadSetting(kOptions[i].name);
            // Range is a signed number that the program keeps and saves as it read it.
            EXPECT_EQ(expected[i], i == 0 ? (long)(int)(DWORD)written : (long)written)
                << kOptions[i].name;
        }
        int range = (int)expected[0];
        int listed = range < 0 ? 0 : range < 5 ? 1 : range < 15 ? 2 : range < 30 ? 3 : 4;
        EXPECT_EQ(listed, seen.reminderModeLines) << "Range " << range;
        const size_t gap = seen.todayLine.find("Today") - seen.todayLine.find('/') - 6;
        EXPECT_EQ(expected[5] ? 12u : 2u, gap) << seen.todayLine;
        const int oldKept = ReadFileText(DataFilePath()).find("Long past") != std::string::npos;
        EXPECT_EQ(expected[1] ? 0 : 1, oldKept) << "AutoRemove " << expected[1];
    }
}

} // namespace
