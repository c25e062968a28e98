// Tarvendel.exe started as its own process: exit codes, files and registry.
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// A copy of the program in folder (which ends in '\\'), for starts from elsewhere.
std::string CopyOfProgram(const std::string& folder)
{
    std::string program = folder + "Tarvendel.exe";
    EXPECT_TRUE(CopyFileA(TarvendelPath().c_str(), program.c_str(), FALSE));
    return program;
}

// A run that ended by itself with this exit code.
::testing::AssertionResult Ended(const ProcessRun& run, DWORD exitCode)
{
    if (!run.finished)
        return ::testing::AssertionFailure() << "the program had to be ended";
    if (run.exitCode != exitCode)
        return ::testing::AssertionFailure() << "exit code " << run.exitCode;
    return ::testing::AssertionSuccess();
}

class Process : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ClearSettings();
        RemoveTree(PellixFolder());
    }
};

TEST_F(Process, ARunStartWithoutADataFileEndsWithOneAndShowsNothing)
{
    ProcessRun run = RunProgram(TarvendelPath(), "RUN");
    ASSERT_TRUE(Ended(run, 1u));
    EXPECT_EQ(0, run.windowsShown);
    // Every missing level of the data folder was made on the way.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DataFolderPath().c_str()));
}

TEST_F(Process, ARunStartWithNothingInRangeEndsUnseenAndKeepsTheRunDay)
{
    DWORD otherDay = InDays(0).wDay % 28 + 1;
    StoreSetting("RunDay", REG_DWORD, SettingBytes(otherDay));
    ASSERT_TRUE(WriteDataFile("01/10/01 Long gone\r\n03/15/02\t14:30 Dentist\r\n"));

    ProcessRun run = RunProgram(TarvendelPath(), "run");
    ASSERT_TRUE(Ended(run, 0u));
    EXPECT_EQ(0, run.windowsShown);
    EXPECT_EQ(otherDay, ReadSetting("RunDay"));
    EXPECT_EQ(-1, ReadSetting("RunDate"));
    EXPECT_EQ("01/10/01 Long gone\r\n03/15/02\t14:30 Dentist\r\n", ReadFileText(DataFilePath()));
}

// Closes the main window as soon as it is there.
void CloseAtOnce(HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }

TEST_F(Process, AnUnknownParameterIsShownUpperCased)
{
    ProcessRun run = RunProgram(TarvendelPath(), "/x", IDOK, 20000, CloseAtOnce);
    ASSERT_TRUE(Ended(run, 0u));
    ASSERT_EQ(1u, run.boxes.size()); // the first run stays silent about the missing file
    EXPECT_EQ("Tarvendel", run.boxes[0].caption);
    EXPECT_EQ("Unknown parameter\n/X", run.boxes[0].text);
}

TEST_F(Process, AStartByHandReportsAMissingFileOnceSettingsExist)
{
    StoreSetting("Range", REG_DWORD, SettingBytes(10));
    ProcessRun run = RunProgram(TarvendelPath(), "", IDOK, 20000, CloseAtOnce);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ("Can't open file\n" + DataFilePath(), run.boxes[0].text);
}

TEST_F(Process, AnOldDataFileBesideTheProgramIsMovedIntoTheDataFolder)
{
    // A folder with a blank: the quoted program path must still find its folder.
    std::string folder = NewTempFolder() + "My Programs\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    std::string program = CopyOfProgram(folder);
    const std::string text = "12/25 Christmas\r\n07/04\t09:00 Parade\r\n";
    ASSERT_TRUE(WriteFileText(folder + "Tarvendel.dat", text));

    ProcessRun run = RunProgram(program, "RUN");
    ASSERT_TRUE(Ended(run, 0u));
    EXPECT_EQ(text, ReadFileText(DataFilePath()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "Tarvendel.dat").c_str()));
    RemoveTree(folder.substr(0, folder.size() - strlen("My Programs\\")));
}

TEST_F(Process, OnlyTheFileBesideTheRunningProgramIsMovedIn)
{
    // Started by a bare name from another folder that holds a data file (as
    // from the PATH, or a shortcut with its own working folder).
    std::string folder = NewTempFolder();
    ASSERT_TRUE(CreateDirectoryA((folder + "elsewhere").c_str(), NULL));
    std::string program = CopyOfProgram(folder);
    ASSERT_TRUE(WriteFileText(folder + "elsewhere\\Tarvendel.dat", "12/25 Not mine\r\n"));
    ASSERT_TRUE(WriteDataFile("01/01 Mine\r\n"));
    ProcessRun run = RunProgram(program, "RUN", IDOK, 20000, MainWindowVisit(),
                                {"Tarvendel.exe", folder + "elsewhere"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ("01/01 Mine\r\n", ReadFileText(DataFilePath()));
    EXPECT_EQ("12/25 Not mine\r\n", ReadFileText(folder + "elsewhere\\Tarvendel.dat"));
    RemoveTree(folder);
}

// The window libraries are loaded by name when first used; a planted one
// beside the program must never be the one loaded. Wine prefers its own
// comctl32 unless told to search as Windows does.
TEST_F(Process, ALibraryPlantedBesideTheProgramIsNotLoaded)
{
    const char kOverrides[] = "Software\\Wine\\AppDefaults\\Tarvendel.exe\\DllOverrides";
    RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, "comctl32", REG_SZ, "native,builtin", 15);
    std::string folder = NewTempFolder();
    std::string program = CopyOfProgram(folder);
    std::string planted = ProgramFolder() + "..\\planted\\comctl32.dll";
    ASSERT_TRUE(CopyFileA(planted.c_str(), (folder + "comctl32.dll").c_str(), FALSE));

    int opened = 0;
    ProcessRun run = RunProgram(program, "", IDOK, 20000, [&opened](HWND main) {
        opened = 1;
        PostMessageA(main, WM_CLOSE, 0, 0);
    }, {"", folder});
    ASSERT_TRUE(Ended(run, 0u));
    EXPECT_EQ(1, opened);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "planted-loaded").c_str()));

    // The planted library does tell when it is loaded (under a name that
    // Wine does not take for its own).
    ASSERT_TRUE(CopyFileA(planted.c_str(), (folder + "planted.dll").c_str(), FALSE));
    HMODULE loaded = LoadLibraryA((folder + "planted.dll").c_str());
    ASSERT_NE((HMODULE)NULL, loaded);
    FreeLibrary(loaded);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "planted-loaded").c_str()));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Tarvendel.exe");
    RemoveTree(folder);
}

// What the main window showed when it opened.
struct Opened {
    std::vector<std::string> lines;
    std::string mode, count;
    int addEnabled = -1, editEnabled = -1, removeEnabled = -1, saveEnabled = -1;
};

MainWindowVisit Look(Opened* opened)
{
    return [opened](HWND main) {
        opened->lines = RemoteListLines(FindChildOfClass(main, "LISTBOX"));
        HWND status = FindChildOfClass(main, "msctls_statusbar32");
        opened->mode = RemoteStatusText(status, 1);
        opened->count = RemoteStatusText(status, 2);
        HWND bar = FindChildOfClass(main, "BtnBarClass");
        opened->addEnabled = IsWindowEnabled(GetDlgItem(bar, 40002));
        opened->editEnabled = IsWindowEnabled(GetDlgItem(bar, 40004));
        opened->removeEnabled = IsWindowEnabled(GetDlgItem(bar, 40006));
        opened->saveEnabled = IsWindowEnabled(GetDlgItem(bar, 40009));
        PostMessageA(main, WM_CLOSE, 0, 0);
    };
}

TEST_F(Process, AStartByHandOpensTheListInEditMode)
{
    ASSERT_TRUE(WriteDataFile(DateText(40, 1) + " Later\r\n" + DateText(2, 1) + " Soon\r\n"));
    Opened opened;
    ProcessRun run = RunProgram(TarvendelPath(), "", IDNO, 20000, Look(&opened));
    ASSERT_TRUE(Ended(run, 0u));
    ASSERT_EQ(2u, opened.lines.size());
    EXPECT_NE(std::string::npos, opened.lines[0].find("Soon"));
    EXPECT_EQ("\tEdit mode", opened.mode);
    EXPECT_EQ("2", opened.count);
    EXPECT_TRUE(opened.addEnabled);
    EXPECT_TRUE(opened.editEnabled);
    EXPECT_TRUE(opened.removeEnabled);
}

TEST_F(Process, ARunStartWithAReminderInRangeOpensInReminderMode)
{
    ASSERT_TRUE(WriteDataFile(DateText(40, 1) + " Later\r\n" + DateText(2, 1) + " Soon\r\n"));
    Opened opened;
    ProcessRun run = RunProgram(TarvendelPath(), "RUN", IDNO, 20000, Look(&opened));
    ASSERT_TRUE(Ended(run, 0u));
    ASSERT_EQ(1u, opened.lines.size());
    EXPECT_NE(std::string::npos, opened.lines[0].find("Soon"));
    EXPECT_EQ("\tReminder mode", opened.mode);
    EXPECT_EQ("2", opened.count);
    EXPECT_FALSE(opened.addEnabled);
    EXPECT_FALSE(opened.editEnabled);
    EXPECT_FALSE(opened.removeEnabled);
    EXPECT_TRUE(opened.saveEnabled);
    // The run that opened the window wrote its day: a second RUN today stays unseen.
    ProcessRun again = RunProgram(TarvendelPath(), "RUN");
    EXPECT_EQ(0u, again.exitCode);
    EXPECT_EQ(0, again.windowsShown);
}

// The settings' record of a file found quiet, as stored; empty when none.
std::string QuietRecord()
{
    char data[64];
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "QuietScan", RRF_RT_REG_BINARY, NULL, data,
                     &size) != ERROR_SUCCESS)
        return std::string();
    return std::string(data, size);
}

// A RUN start that finds nothing due keeps the file's fingerprint, and the
// next one over the same file takes its word; one over a file changed in
// place (its size and write time kept, as a restore or a sync tool may
// leave it), a wider range, or a date that does not read, judges the lines.
TEST_F(Process, AFileFoundQuietIsJudgedAgainWhenItOrTheRangeChanges)
{
    StoreSetting("RunOnce", REG_BINARY, std::string(1, '\0'));
    StoreSetting("AutoRemove", REG_BINARY, std::string(1, '\0')); // closing writes nothing
    // Only a file large enough to take time is remembered: years of one-off
    // reminders behind the one that matters.
    std::string past;
    for (int i = 0; i < 5000; ++i)
        past += "01/01/01 Gone\r\n";
    const std::string quiet = DateText(15, 1) + " Later\r\n" + past; // past the range of 10 days
    ASSERT_TRUE(WriteDataFile(quiet));
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN"), 0u));
    std::string record = QuietRecord();
    ASSERT_EQ(28u, record.size());

    // Taken at its word: a record claiming the first reminder a day later
    // than it is stays as it was, where judging the lines would correct it.
    DWORD nextDay;
    memcpy(&nextDay, &record[16], 4);
    ++nextDay;
    memcpy(&record[16], &nextDay, 4);
    StoreSetting("QuietScan", REG_BINARY, record);
    ProcessRun again = RunProgram(TarvendelPath(), "RUN");
    ASSERT_TRUE(Ended(again, 0u));
    EXPECT_EQ(0, again.windowsShown);
    EXPECT_EQ(record, QuietRecord());

    // The reminder 15 days on comes within a range of 20.
    StoreSetting("Range", REG_DWORD, SettingBytes(20));
    Opened wider;
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN", IDNO, 20000, Look(&wider)), 0u));
    ASSERT_EQ(1u, wider.lines.size());
    EXPECT_NE(std::string::npos, wider.lines[0].find("Later"));
    EXPECT_TRUE(quiet == ReadFileText(DataFilePath())) << "the file was written at the close";
    StoreSetting("Range", REG_DWORD, SettingBytes(10));
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN"), 0u));

    // Changed in place: another text of the same length, the old write time.
    HANDLE file = CreateFileA(DataFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    FILETIME written;
    ASSERT_TRUE(GetFileTime(file, NULL, NULL, &written));
    CloseHandle(file);
    const std::string due = DateText(0, 1) + " Now!!\r\n" + past;
    ASSERT_EQ(quiet.size(), due.size());
    ASSERT_TRUE(WriteDataFile(due));
    file = CreateFileA(DataFilePath().c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0,
                       NULL);
    ASSERT_TRUE(SetFileTime(file, NULL, NULL, &written));
    CloseHandle(file);
    Opened changed;
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN", IDNO, 20000, Look(&changed)), 0u));
    ASSERT_EQ(1u, changed.lines.size());
    EXPECT_NE(std::string::npos, changed.lines[0].find("Now!!"));

    // A date that does not read is reported at every start.
    ASSERT_TRUE(WriteDataFile("02/30/30 Never\r\n" + quiet));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "QuietScan");
    for (int start = 0; start < 2; ++start) {
        ProcessRun bad = RunProgram(TarvendelPath(), "RUN");
        ASSERT_TRUE(Ended(bad, 0u));
        ASSERT_EQ(1u, bad.boxes.size()) << start;
        EXPECT_EQ("Invalidate date\n02/30/30", bad.boxes[0].text);
    }
    EXPECT_EQ("", QuietRecord());

    // A small file is judged line by line at every start: nothing to keep.
    ASSERT_TRUE(WriteDataFile(DateText(15, 1) + " Later\r\n"));
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN"), 0u));
    EXPECT_EQ("", QuietRecord());
}

// Waits up to two seconds for the other process's window to leave or keep
// its minimized state; whether it is restored.
int RestoredSoon(HWND window)
{
    for (int i = 0; i < 40 && IsIconic(window); ++i)
        Sleep(50);
    return IsWindowVisible(window) && !IsIconic(window);
}

// A RUN start (at login, unlock or wake) that finds the window open hands it
// the day: with something due, the minimized window comes back.
TEST_F(Process, ASecondStartWhileTheWindowIsOpenOpensNoSecondWindow)
{
    const struct {
        int dueInDays;
        int restoredByRun;
    } cases[] = {{2, 1}, {40, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dueInDays);
        ClearSettings();
        ASSERT_TRUE(WriteDataFile(DateText(c.dueInDays, 1) + " Soon\r\n"));
        ProcessRun byRun = {}, byHand = {};
        int restoredByRun = -1, restoredByHand = 0, settingsWritten = 1;
        ProcessRun first = RunProgram(TarvendelPath(), "", IDOK, 30000, [&](HWND main) {
            ShowWindow(main, SW_MINIMIZE);
            byRun = RunProgram(TarvendelPath(), "RUN");
            restoredByRun = RestoredSoon(main);
            ShowWindow(main, SW_MINIMIZE);
            byHand = RunProgram(TarvendelPath(), "");
            restoredByHand = RestoredSoon(main);
            settingsWritten = SettingsKeyExists();
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        ASSERT_TRUE(Ended(first, 0u));
        for (const ProcessRun* second : {&byRun, &byHand}) {
            EXPECT_TRUE(Ended(*second, 0u));
            EXPECT_EQ(0, second->windowsShown);
        }
        EXPECT_EQ(c.restoredByRun, restoredByRun);
        EXPECT_TRUE(restoredByHand) << "the start by hand left the open window minimized";
        EXPECT_FALSE(settingsWritten);
    }
    // The window gone, a start opens one again.
    ProcessRun after = RunProgram(TarvendelPath(), "", IDOK, 20000, CloseAtOnce);
    EXPECT_EQ(1, after.windowsShown);
}

// YYYYMMDD of the day so many days from today, as the settings keep it.
std::string DayStamp(int days)
{
    SYSTEMTIME day = InDays(days);
    return SettingBytes(day.wYear * 10000u + day.wMonth * 100u + day.wDay);
}

// A start by hand marks what was missed and leaves it missed; the RUN start
// after it lists it, and only then is the past one-off reminder removed.
TEST_F(Process, AStartByHandLeavesMissedRemindersToTheNextRunStart)
{
    StoreSetting("ShownDate", REG_DWORD, DayStamp(-10));
    StoreSetting("RunOnce", REG_BINARY, SettingBytes(0, 1));
    const std::string file = DateText(-5, 1) + " Missed one-off\r\n" + DateText(-3, 0) +
                             " Missed birthday\r\n" + DateText(30, 1) + " Later\r\n";
    ASSERT_TRUE(WriteDataFile(file));
    Opened byHand, byRun;
    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "", IDNO, 20000, Look(&byHand)), 0u));
    EXPECT_EQ("\t2 missed, see Mode", byHand.mode);
    EXPECT_EQ(file, ReadFileText(DataFilePath()));
    EXPECT_EQ(DayStamp(-10), SettingBytes((DWORD)ReadSetting("ShownDate")));

    ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN", IDNO, 20000, Look(&byRun)), 0u));
    ASSERT_EQ(2u, byRun.lines.size());
    EXPECT_NE(std::string::npos, byRun.lines[0].find(DateText(-5, 1) + "            Missed one-off"));
    EXPECT_NE(std::string::npos, byRun.lines[1].find("Missed birthday"));
    // Written in the order of the next days: the birthday's is next year.
    EXPECT_EQ(DateText(30, 1) + " Later\r\n" + DateText(-3, 0) + " Missed birthday\r\n",
              ReadFileText(DataFilePath()));
    EXPECT_EQ(DayStamp(0), SettingBytes((DWORD)ReadSetting("ShownDate")));
}

// Back after forty days: every one-off reminder since, the last month's
// annual ones. A last shown day after today counts as a month back.
TEST_F(Process, ARunStartListsWhatWasMissedWhileAwayAndAfterAClockThatWasAhead)
{
    const std::string file = DateText(-35, 1) + " One-off\r\n" + DateText(-35, 0) +
                             " Old birthday\r\n" + DateText(-20, 0) + " Birthday\r\n";
    const struct {
        int shownDaysAgo;
        std::vector<std::string> listed;
    } cases[] = {{-40, {"One-off", "Birthday"}}, {5, {"Birthday"}}};
    for (const auto& c : cases) {
        StoreSetting("ShownDate", REG_DWORD, DayStamp(c.shownDaysAgo));
        ASSERT_TRUE(WriteDataFile(file));
        Opened opened;
        ASSERT_TRUE(Ended(RunProgram(TarvendelPath(), "RUN", IDNO, 20000, Look(&opened)), 0u));
        ASSERT_EQ(c.listed.size(), opened.lines.size()) << c.shownDaysAgo;
        for (size_t i = 0; i < c.listed.size(); ++i)
            EXPECT_EQ(c.listed[i], opened.lines[i].substr(25)) << c.shownDaysAgo;
        ClearSettings();
    }
}

// A data file beside the program: a RUN start leaves both files; a start by
// hand asks, Yes keeps the user's as a backup, No is not asked again.
TEST_F(Process, AStrayDataFileBesideTheProgramReplacesNothingUnasked)
{
    std::string folder = NewTempFolder();
    std::string program = CopyOfProgram(folder);
    const std::string mine = DateText(1, 1) + " Mine\r\n", stray = DateText(1, 1) + " Stray\r\n";
    const struct {
        const char* arguments;
        int answer;
        size_t boxes;
        const char* listed;
        int strayStays;
    } cases[] = {{"RUN", IDYES, 0, "Mine", 1}, {"", IDNO, 1, "Mine", 1}, {"", IDYES, 1, "Stray", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.arguments << " " << c.answer);
        ClearSettings();
        RemoveTree(PellixFolder());
        ASSERT_TRUE(WriteDataFile(mine));
        ASSERT_TRUE(WriteFileText(folder + "Tarvendel.dat", stray));
        Opened opened;
        ProcessRun run = RunProgram(program, c.arguments, c.answer, 20000, Look(&opened));
        ASSERT_TRUE(Ended(run, 0u));
        ASSERT_EQ(c.boxes, run.boxes.size());
        if (c.boxes) {
            EXPECT_EQ(0u, run.boxes[0].text.find("A reminder file was found beside the program:"));
        }
        ASSERT_EQ(1u, opened.lines.size());
        EXPECT_EQ(c.listed, opened.lines[0].substr(25));
        EXPECT_EQ(c.strayStays, GetFileAttributesA((folder + "Tarvendel.dat").c_str()) !=
                                    INVALID_FILE_ATTRIBUTES);
        std::string backup = DataFolderPath() + "Tarvendel-replaced-" +
                             std::to_string(ReadSetting("RunDate")) + ".dat";
        EXPECT_EQ(c.strayStays ? "" : mine, ReadFileText(backup));
        // Declined once, the same file is not asked about again.
        if (c.answer == IDNO) {
            ProcessRun again = RunProgram(program, "", IDYES, 20000, CloseAtOnce);
            EXPECT_TRUE(again.boxes.empty());
            EXPECT_EQ(mine, ReadFileText(DataFilePath()));
        }
    }
    RemoveTree(folder);
}

TEST_F(Process, TheExitCommandClosesAsTheWindowDoesAndEndsWithZero)
{
    // Past one-off reminders go at the save that closing makes unasked.
    StoreSetting("Range", REG_DWORD, SettingBytes(10));
    ASSERT_TRUE(WriteDataFile("01/10/01 Long gone\r\n" + DateText(2, 1) + " Soon\r\n"));
    ProcessRun run = RunProgram(TarvendelPath(), "", IDNO, 20000, [](HWND main) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(40001, 0), 0);
    });
    ASSERT_TRUE(Ended(run, 0u));
    EXPECT_EQ(1, run.windowsShown);
    EXPECT_EQ(DateText(2, 1) + " Soon\r\n", ReadFileText(DataFilePath()));
    EXPECT_NE(-1, ReadSetting("showCmd")) << "the settings were not written";
}

} // namespace
