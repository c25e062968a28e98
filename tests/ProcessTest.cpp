// Tarvendel.exe started as its own process: exit codes, files and registry.
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

const char kKey[] = "Software\\Pellix Freeware\\Tarvendel\\Settings";

int ReadNumber(const char* name, DWORD* value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD size = sizeof *value;
    LONG status = RegQueryValueExA(key, name, NULL, NULL, (BYTE*)value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void WriteNumber(const char* name, DWORD value)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    RegCloseKey(key);
}

std::string PellixFolder()
{
    std::string data = DataFolderPath();
    return data.substr(0, data.size() - strlen("Tarvendel\\"));
}

class Process : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        RemoveTree(PellixFolder());
    }
    void TearDown() override
    {
        ClearSettings();
        RemoveTree(PellixFolder());
    }
};

TEST_F(Process, ARunStartWithoutADataFileEndsWithOneAndShowsNothing)
{
    ProcessRun run = RunProgram(TarvendelPath(), "RUN");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ(0, run.windowsShown);
    // Every missing level of the data folder was made on the way.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DataFolderPath().c_str()));
}

TEST_F(Process, ARunStartWithNothingInRangeEndsUnseenAndKeepsTheRunDay)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    DWORD otherDay = now.wDay % 28 + 1;
    WriteNumber("RunDay", otherDay);
    CreateDirectoryA(PellixFolder().c_str(), NULL);
    CreateDirectoryA(DataFolderPath().c_str(), NULL);
    ASSERT_TRUE(WriteFileText(DataFilePath(), "01/10/01 Long gone\r\n03/15/02\t14:30 Dentist\r\n"));

    ProcessRun run = RunProgram(TarvendelPath(), "run");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0, run.windowsShown);
    DWORD runDay = 0, runDate = 0;
    EXPECT_TRUE(ReadNumber("RunDay", &runDay));
    EXPECT_EQ(otherDay, runDay);
    EXPECT_FALSE(ReadNumber("RunDate", &runDate));
    EXPECT_EQ("01/10/01 Long gone\r\n03/15/02\t14:30 Dentist\r\n", ReadFileText(DataFilePath()));
}

TEST_F(Process, AnUnknownParameterIsShownUpperCased)
{
    ProcessRun run = RunProgram(TarvendelPath(), "/x");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size()); // the first run stays silent about the missing file
    EXPECT_EQ("Tarvendel", run.boxes[0].caption);
    EXPECT_EQ("Unknown parameter\n/X", run.boxes[0].text);
}

TEST_F(Process, AStartByHandReportsAMissingFileOnceSettingsExist)
{
    WriteNumber("Range", 10);
    ProcessRun run = RunProgram(TarvendelPath(), "");
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ("Can't open file\n" + DataFilePath(), run.boxes[0].text);
}

TEST_F(Process, AnOldDataFileBesideTheProgramIsMovedIntoTheDataFolder)
{
    // A folder with a blank: the quoted program path must still find its folder.
    std::string folder = NewTempFolder() + "My Programs\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    std::string program = folder + "Tarvendel.exe";
    ASSERT_TRUE(CopyFileA(TarvendelPath().c_str(), program.c_str(), FALSE));
    const std::string text = "12/25 Christmas\r\n07/04\t09:00 Parade\r\n";
    ASSERT_TRUE(WriteFileText(folder + "Tarvendel.dat", text));

    ProcessRun run = RunProgram(program, "RUN");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(text, ReadFileText(DataFilePath()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "Tarvendel.dat").c_str()));
    RemoveTree(folder.substr(0, folder.size() - strlen("My Programs\\")));
}

} // namespace
