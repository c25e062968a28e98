// Saving when things go wrong: the previous data file must survive every fault.
#include "app/ProgramObjects.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "support/AppState.h"
#include "support/ModalAnswerer.h"
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const std::string kOld = "12/25 Christmas\r\n01/10/07 Pay rent\r\n";

class Saving : public ::testing::Test {
protected:
    static void SetUpTestSuite() { instanceHandle = GetModuleHandleA(NULL); }
    void SetUp() override
    {
        ResetApplication();
        today = MakeDate(2006, 12, 7);
        folder = NewTempFolder();
        UseDataFile(folder + "Tarvendel.dat");
        ASSERT_TRUE(WriteFileText(DataFile(), kOld));
        LoadText("12/24 Eve\r\n");
        ASSERT_EQ(1, theApp.BuildEntryTable());
        theApp.modified = 1;
    }
    void TearDown() override { RemoveTree(folder); }

    void UseDataFile(const std::string& path)
    {
        CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, path.c_str());
    }
    std::string DataFile() { return theApp.dataFilePath; }
    std::string Beside(const char* name)
    {
        std::string path = DataFile();
        return path.substr(0, path.rfind('\\') + 1) + name;
    }

    // Saves, expecting a refusal with message; the old file must be untouched.
    void ExpectRefused(const std::string& message)
    {
        ModalAnswerer answerer;
        EXPECT_EQ(0, theApp.SaveDataFile());
        ASSERT_EQ(1u, answerer.Answered().size());
        EXPECT_EQ(message, answerer.Answered()[0].text);
        EXPECT_EQ(1, theApp.modified); // "Mod" stays: the reminders are not on disk
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Beside("Tarvendel.new").c_str()));
    }

    std::string folder;
};

TEST_F(Saving, ASaveReplacesTheFileAndKeepsThePreviousOneAsBackup)
{
    WriteFileText(Beside("Tarvendel.new"), "left by a crash");
    EXPECT_EQ(1, theApp.SaveDataFile());
    EXPECT_EQ("12/24 Eve\r\n", ReadFileText(DataFile()));
    EXPECT_EQ(kOld, ReadFileText(Beside("Tarvendel.bak")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Beside("Tarvendel.new").c_str()));
    EXPECT_EQ(0, theApp.modified);

    DeleteFileA(DataFile().c_str()); // the first save of all has nothing to back up
    EXPECT_EQ(1, theApp.SaveDataFile());
    EXPECT_EQ("12/24 Eve\r\n", ReadFileText(DataFile()));
}

TEST_F(Saving, AMarkedBackupIsReplacedAndABackupThatCannotBeWrittenIsNamed)
{
    const DWORD marks[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    for (DWORD mark : marks) {
        WriteFileText(Beside("Tarvendel.bak"), "older");
        SetFileAttributesA(Beside("Tarvendel.bak").c_str(), mark);
        EXPECT_EQ(1, theApp.SaveDataFile()) << mark;
        EXPECT_EQ(kOld, ReadFileText(Beside("Tarvendel.bak"))) << mark;
        EXPECT_EQ(0u, GetFileAttributesA(Beside("Tarvendel.bak").c_str()) & mark) << mark;
        WriteFileText(DataFile(), kOld);
    }
    DeleteFileA(Beside("Tarvendel.bak").c_str());
    ASSERT_TRUE(CreateDirectoryA(Beside("Tarvendel.bak").c_str(), NULL));
    theApp.modified = 1;
    ExpectRefused("Error writing to file\nTarvendel.bak");
    EXPECT_EQ(kOld, ReadFileText(DataFile()));
    RemoveDirectoryA(Beside("Tarvendel.bak").c_str());
}

TEST_F(Saving, AFileHeldOpenByAnotherProgramIsLeftIntact)
{
    HANDLE holder = CreateFileA(DataFile().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ExpectRefused("Error writing to file\nTarvendel.dat");
    CloseHandle(holder);
    EXPECT_EQ(kOld, ReadFileText(DataFile()));
}

TEST_F(Saving, AReadOnlyFileIsRefused)
{
    SetFileAttributesA(DataFile().c_str(), FILE_ATTRIBUTE_READONLY);
    ExpectRefused("Can't open file\n" + DataFile());
    EXPECT_EQ(kOld, ReadFileText(DataFile()));
}

TEST_F(Saving, AMissingDataFolderIsReported)
{
    UseDataFile(folder + "missing\\Tarvendel.dat");
    ExpectRefused("Can't open file\n" + DataFile());
}

TEST_F(Saving, AFolderInPlaceOfTheFileIsLeftIntact)
{
    UseDataFile(folder + "Folder.dat");
    ASSERT_TRUE(CreateDirectoryA(DataFile().c_str(), NULL));
    ASSERT_TRUE(WriteFileText(DataFile() + "\\inside.txt", kOld));
    ExpectRefused("Error writing to file\nTarvendel.dat");
    EXPECT_TRUE(GetFileAttributesA(DataFile().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(kOld, ReadFileText(DataFile() + "\\inside.txt"));
}

// Drive T: is a 64 KiB file system when the test runner could make one.
TEST_F(Saving, AFullDiskPartWayThroughLeavesTheOldFile)
{
    if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR)
        GTEST_SKIP() << "no small drive T: (needs root to mount one)";
    std::string small = "T:\\tarvendel\\";
    RemoveTree(small);
    CreateDirectoryA(small.c_str(), NULL);
    UseDataFile(small + "Tarvendel.dat");
    ASSERT_TRUE(WriteFileText(DataFile(), kOld));
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "01/01 A reminder long enough to fill the small drive quickly " + std::to_string(i) +
                "\r\n";
    LoadText(many);
    ASSERT_EQ(1, theApp.BuildEntryTable());
    theApp.modified = 1;
    ExpectRefused("Error writing to file\nTarvendel.dat");
    EXPECT_EQ(kOld, ReadFileText(DataFile()));
    RemoveTree(small);
}

// A helper process saves again and again, alternating two tables, and is
// killed at some moment of it; the file must hold one whole table or the other.
TEST_F(Saving, AProcessKilledInTheMiddleOfASaveLeavesAWholeFile)
{
    for (int round = 0; round < 8; ++round) {
        ProcessRun run = RunProgram(ProgramFolder() + "SaveLoop.exe", "\"" + DataFile() + "\"",
                                    IDOK, 150 + 37 * round);
        ASSERT_EQ(9999u, run.exitCode) << "not started, or not saving until killed";
        std::string saved = ReadFileText(DataFile());
        const long lines = std::count(saved.begin(), saved.end(), '\n');
        int whole = saved.size() >= 2 && saved.compare(saved.size() - 2, 2, "\r\n") == 0;
        EXPECT_TRUE(saved == kOld || (whole && (lines == 2000 || lines == 3000)))
            << lines << " lines";
    }
}

} // namespace
