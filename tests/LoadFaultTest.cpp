// Starting with a data file or folder that is not as it should be: the program
// opens, says what it must, saves where it can, and the file on disk stays as
// it was until a save succeeds.
#include "app/OneWindow.h"
#include "app/ProgramObjects.h"
#include "core/EntryTable.h"
#include "support/AppState.h"
#include "support/ModalAnswerer.h"
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Annual reminders only, so that closing the program never drops one as past.
const std::string kOld = "12/25 Christmas\r\n07/04\t09:00 Parade\r\n";

std::string WithoutSlash(const std::string& folder)
{
    return folder.substr(0, folder.size() - 1);
}

// About 50 MB of reminders in the writer's form.
std::string FiftyMegabytes()
{
    static const char* const texts[] = {"Dentist", "Pay the rent", "Call the garage about the car",
                                        "Anna's birthday", "Renew the passport"};
    std::string file;
    file.reserve(52u << 20);
    char line[96];
    for (unsigned i = 0; file.size() < (50u << 20); ++i) {
        unsigned r = i * 2654435761u;
        snprintf(line, sizeof line, "%02u/%02u\t%02u:%02u %s %u\r\n", 1 + r % 12, 1 + (r >> 8) % 28,
                 (r >> 16) % 24, (r >> 20) % 60, texts[i % 5], i);
        file += line;
    }
    return file;
}

// A run of NUL bytes between two lines, as a crash can leave, and one in a text.
std::string WithNuls()
{
    static const char rest[] = "12/15 Party\r\n12/26 Boxing\0 Day\r\n";
    return "12/24 Eve\r\n" + std::string(4096, '\0') + std::string(rest, sizeof rest - 1);
}

std::vector<std::string> SortedLines(const std::string& file)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < file.size();) {
        size_t end = file.find('\n', at);
        end = end == std::string::npos ? file.size() : end + 1;
        lines.push_back(file.substr(at, end - at));
        at = end;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// One way of spoiling the data file or its folder, and what the program must do.
struct Fault {
    const char* name;
    std::function<void()> make;
    int held;                              // then held open, without sharing, by this process
    std::vector<std::string> loadMessages; // at a start by hand; a RUN start shows none
    int runStartLoads;                     // LoadDataFile's result at a RUN start
    int entries;                           // loaded at a start by hand
    std::string saveMessage;               // for the Save command; empty when it succeeds
    std::string saved;                     // the file after a successful save
};

class LoadFault : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        instanceHandle = GetModuleHandleA(NULL);
        ASSERT_EQ(1, theApp.OpenMainWindow(SW_SHOWNORMAL));
    }
    void SetUp() override
    {
        Clear();
        ResetApplication();
        today = MakeDate(2006, 12, 7);
        holder = INVALID_HANDLE_VALUE;
    }
    void TearDown() override
    {
        Release();
        Clear();
    }
    static void Clear()
    {
        DeleteFileA(WithoutSlash(PellixFolder()).c_str());
        RemoveTree(PellixFolder());
        ClearSettings();
    }

    static void MakeDataFile(const std::string& text) { ASSERT_TRUE(WriteDataFile(text)); }

    // What is on disk where the data file belongs.
    static std::string OnDisk()
    {
        DWORD attributes = GetFileAttributesA(DataFilePath().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return "nothing; in place of the folder: " + ReadFileText(WithoutSlash(PellixFolder()));
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return "a folder holding: " + ReadFileText(DataFilePath() + "\\inside.txt");
        return ReadFileText(DataFilePath());
    }

    // The four steps of the data preparation, as start-up runs them.
    int Prepare(std::vector<std::string>* messages)
    {
        ModalAnswerer answerer;
        theApp.LocateDataFolder();
        theApp.MigrateOldDataFile();
        int loaded = theApp.LoadDataFile();
        for (const AnsweredWindow& box : answerer.Answered())
            messages->push_back(box.text);
        return loaded;
    }

    std::vector<Fault> Faults()
    {
        const std::string cantOpen = "Can't open file\n" + DataFilePath();
        const std::string cantWrite = "Error writing to file\nTarvendel.dat";
        return {
            {"data folder missing and not creatable",
             [] { ASSERT_TRUE(WriteFileText(WithoutSlash(PellixFolder()), "a file, not a folder")); },
             0, {cantOpen}, 0, 0, cantOpen, ""},
            {"data file read-only",
             [] {
                 MakeDataFile(kOld);
                 SetFileAttributesA(DataFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
             },
             0, {}, 1, 2, cantOpen, ""},
            {"data file held open without sharing", [] { MakeDataFile(kOld); }, 1, {cantOpen}, 0,
             0, cantWrite, ""},
            {"data file is a directory",
             [] {
                 ASSERT_TRUE(CreateDirectoryPath((DataFilePath() + "\\").c_str()));
                 ASSERT_TRUE(WriteFileText(DataFilePath() + "\\inside.txt", "kept"));
             },
             0, {cantOpen}, 0, 0, cantWrite, ""},
            {"data file of 0 bytes", [] { MakeDataFile(""); }, 0, {}, 1, 0, "", ""},
            {"data file with NUL bytes", [] { MakeDataFile(WithNuls()); }, 0, {}, 1, 3, "",
             "12/15 Party\r\n12/24 Eve\r\n12/26 Boxing\r\n"},
        };
    }

    // Takes the fault's hold on the data file, or lets it go.
    void Hold(const Fault& fault)
    {
        if (!fault.held)
            return;
        holder = CreateFileA(DataFilePath().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    }
    void Release()
    {
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        holder = INVALID_HANDLE_VALUE;
    }

    HANDLE holder;
};

TEST_F(LoadFault, EachFaultLoadsWhatItCanWithItsMessageAndLeavesTheFileAsItWas)
{
    for (Fault& fault : Faults()) {
        SCOPED_TRACE(fault.name);
        Clear();
        ResetApplication();
        fault.make();
        const std::string before = OnDisk();
        Hold(fault);

        theApp.reminderMode = 1;
        std::vector<std::string> messages;
        EXPECT_EQ(fault.runStartLoads, Prepare(&messages));
        EXPECT_EQ(std::vector<std::string>(), messages);

        theApp.reminderMode = 0;
        messages.clear();
        ASSERT_EQ(1, Prepare(&messages));
        EXPECT_EQ(fault.loadMessages, messages);
        ASSERT_EQ(1, theApp.BuildEntryTable());
        EXPECT_EQ(fault.entries, theApp.entryCount);
        EXPECT_EQ(fault.entries, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
        Release();
        EXPECT_EQ(before, OnDisk());
    }
}

// A crash can leave a run of NUL bytes inside the file; the reminders behind
// it are found by the start-up list and survive the next save.
TEST_F(LoadFault, RemindersBehindNulBytesAreReadAndSaved)
{
    MakeDataFile(WithNuls());
    std::vector<std::string> messages;
    theApp.reminderMode = 1;
    ASSERT_EQ(1, Prepare(&messages));
    theApp.Range = 10;
    theApp.RunDay = 99;
    EXPECT_EQ(1, theApp.ShouldShowWindow()) << "the party on the 15th is within ten days";
    theApp.reminderMode = 0;
    ASSERT_EQ(1, Prepare(&messages));
    ASSERT_EQ(1, theApp.BuildEntryTable());
    ASSERT_EQ(1, theApp.SaveDataFile());
    EXPECT_EQ("12/15 Party\r\n12/24 Eve\r\n12/26 Boxing\r\n", ReadFileText(DataFilePath()));
    EXPECT_TRUE(messages.empty());
}

// The same faults met by Tarvendel.exe itself, started by hand with settings
// saved before: it must show its window with what the in-process load gives,
// save when told to or say why it cannot (the file then as it was), and close
// when asked. The test process is the other program that holds the file open.
TEST_F(LoadFault, TheProgramStartsSavesAndClosesWithEachFault)
{
    // The suite's window stands in for the program's in this process; it is
    // not one a user opened, so the program may open its own.
    ReleaseMainWindow();
    std::vector<Fault> faults = Faults();
    faults.push_back({"data file of 50 MB", [] { MakeDataFile(FiftyMegabytes()); }, 0, {}, 1, -1, "", ""});
    for (Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        Clear();
        HKEY key; // settings saved before, if none of them
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key));
        RegCloseKey(key);
        fault.make();
        const std::string before = OnDisk();
        Hold(fault);
        std::string count;
        std::vector<std::string> saveBoxes;
        DWORD started = GetTickCount(), listed = 0;
        ProcessRun run = RunProgram(TarvendelPath(), "", IDOK, 120000, [&](HWND main) {
            HWND status = FindChildOfClass(main, "msctls_statusbar32");
            // The list is filled after the window is shown; a large file takes a while.
            while (GetTickCount() - started < 60000) {
                count = RemoteStatusText(status, 2);
                if (!count.empty())
                    break;
                Sleep(100);
            }
            listed = GetTickCount();
            PostMessageA(main, WM_COMMAND, 40009, 0); // Save
            saveBoxes = AnswerBoxes(main);
            PostMessageA(main, WM_CLOSE, 0, 0);
        });
        printf("%s: listed after %lu ms, saved and ended after %lu ms\n", fault.name,
               listed - started, GetTickCount() - started);
        EXPECT_LT(listed - started, 60000u) << "the list took a minute to fill";
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        std::vector<std::string> boxes;
        for (const AnsweredWindow& box : run.boxes)
            boxes.push_back(box.text);
        boxes.insert(boxes.end(), saveBoxes.begin(), saveBoxes.end());
        std::vector<std::string> expected = fault.loadMessages;
        if (!fault.saveMessage.empty())
            expected.push_back(fault.saveMessage);
        EXPECT_EQ(expected, boxes);
        Release();
        const std::string after = OnDisk();
        const size_t lines = std::count(before.begin(), before.end(), '\n');
        EXPECT_EQ(std::to_string(fault.entries >= 0 ? (size_t)fault.entries : lines), count);
        if (!fault.saveMessage.empty())
            EXPECT_EQ(before, after) << "a refused save changed the file";
        else if (fault.entries >= 0)
            EXPECT_TRUE(SortedLines(fault.saved) == SortedLines(after)) << after;
        else
            EXPECT_TRUE(SortedLines(before) == SortedLines(after)) << "reminders were lost";
    }
}

} // namespace
