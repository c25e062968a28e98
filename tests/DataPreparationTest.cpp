// Finding the data folder, moving an old data file in, and loading the file.
#include "core/Application.h"
#include "core/BoundedString.h"
#include "core/EntryReader.h"
#include "core/FileSystem.h"
#include "support/AppState.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(Folders, CreateDirectoryPathMakesEveryMissingLevel)
{
    std::string base = NewTempFolder();
    std::string deep = base + "one\\two\\three\\";
    EXPECT_FALSE(DirectoryExists(deep.c_str()));
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_TRUE(DirectoryExists(deep.c_str()));
    // Levels that exist already are passed over; no trailing backslash works too.
    EXPECT_TRUE(CreateDirectoryPath((base + "one\\two\\four").c_str()));
    EXPECT_TRUE(DirectoryExists((base + "one\\two\\four\\").c_str()));
    EXPECT_FALSE(CreateDirectoryPath((base + "bad|name\\x\\").c_str()));
    EXPECT_FALSE(FileExists((base + "none.txt").c_str()));
    WriteFileText(base + "some.txt", "x");
    EXPECT_TRUE(FileExists((base + "some.txt").c_str()));
    EXPECT_FALSE(DirectoryExists((base + "some.txt").c_str()));
    RemoveTree(base);
}

TEST(Folders, DirectoryExistsKeepsTheCurrentDirectory)
{
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    std::string base = NewTempFolder();
    EXPECT_TRUE(DirectoryExists(base.c_str()));
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after);
    RemoveTree(base);
}

class DataPreparation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetApplication();
        RemoveTree(DataFolderPath());
        programFolder = NewTempFolder();
        std::string program = "\"" + programFolder + "Tarvendel.exe\" RUN";
        theApp.ReadCommandLine(program.c_str());
        theApp.reminderMode = 0;
    }
    void TearDown() override
    {
        theApp.ReleaseTextBuffer();
        RemoveTree(programFolder); // read-only files too
        RemoveTree(DataFolderPath());
    }

    void Prepare()
    {
        theApp.LocateDataFolder();
        theApp.MigrateOldDataFile();
    }

    std::string programFolder;
};

TEST_F(DataPreparation, TheDataFolderIsCreatedUnderApplicationData)
{
    Prepare();
    EXPECT_EQ(DataFolderPath(), theApp.dataFolder);
    EXPECT_TRUE(DirectoryExists(theApp.dataFolder));
    EXPECT_EQ(DataFilePath(), theApp.dataFilePath);
}

// APPDATA counts only as an absolute path of an existing folder; anything
// else would put the reminders wherever the current folder happens to be.
TEST_F(DataPreparation, AnApplicationDataVariableThatIsNotAnAbsolutePathIsIgnored)
{
    char kept[MAX_PATH] = "";
    GetEnvironmentVariableA("APPDATA", kept, sizeof kept);
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA(programFolder.c_str());
    CreateDirectoryA("relative", NULL);
    for (const char* value : {"", "relative", ".\\relative", "\\relative", "C:relative"}) {
        SetEnvironmentVariableA("APPDATA", value);
        theApp.dataFolder[0] = '\0';
        Prepare();
        EXPECT_EQ(DataFolderPath(), theApp.dataFolder) << value;
    }
    SetEnvironmentVariableA("APPDATA", (programFolder + "relative").c_str());
    Prepare();
    EXPECT_EQ(programFolder + "relative\\PellixFreeware\\Tarvendel\\", theApp.dataFolder);
    SetCurrentDirectoryA(current);
    SetEnvironmentVariableA("APPDATA", kept);
}

TEST_F(DataPreparation, AnOldDataFileMovesInWhenTheDataFolderHasNone)
{
    WriteFileText(programFolder + "Tarvendel.dat", "01/01 Program folder\r\n");
    Prepare();
    EXPECT_EQ("01/01 Program folder\r\n", ReadFileText(DataFilePath()));
    EXPECT_FALSE(FileExists((programFolder + "Tarvendel.dat").c_str()));

    // One that cannot be removed is in use all the same, and not asked about later.
    ClearSettings();
    std::string old = programFolder + "Tarvendel.dat";
    DeleteFileA(DataFilePath().c_str());
    WriteFileText(old, "01/01 Read-only folder\r\n");
    SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_READONLY);
    Prepare();
    EXPECT_EQ("01/01 Read-only folder\r\n", ReadFileText(DataFilePath()));
    EXPECT_TRUE(FileExists(old.c_str()));
    theApp.LoadSettings();
    ModalAnswerer answerer;
    Prepare();
    EXPECT_TRUE(answerer.Answered().empty());
    ClearSettings();
}

// A file beside the program (a download, a shared stick) never silently
// replaces the user's. (Yes, No and a RUN start: the process tests.)
TEST_F(DataPreparation, TheQuestionAboutAnOldFileNamesBothAndKeepsItsAnswer)
{
    today = MakeDate(2006, 12, 7);
    const std::string old = programFolder + "Tarvendel.dat";
    const std::string kept = DataFolderPath() + "Tarvendel-replaced-20061207.dat";
    Prepare();
    ASSERT_TRUE(WriteDataFile("01/01 Mine\r\n"));
    WriteFileText(old, "01/01 Stray\r\n");
    for (int answer : {0, 0, IDYES}) {
        ModalAnswerer answerer({answer});
        if (answer == IDYES) // agreed, but deleting it is refused
            SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_READONLY);
        Prepare();
        ASSERT_EQ(1u, answerer.Answered().size()) << "closed unanswered, it is asked again";
        EXPECT_EQ("A reminder file was found beside the program:\n" + old +
                      "\n\nUse it instead of your reminders in\n" + DataFilePath() +
                      "?\n\nYour reminders would be kept in\n" + kept,
                  answerer.Answered()[0].text);
        EXPECT_EQ(MB_YESNO | MB_ICONQUESTION, answerer.Answered()[0].style);
    }
    EXPECT_EQ("01/01 Stray\r\n", ReadFileText(DataFilePath()));
    ASSERT_EQ(1, theApp.SaveDataFile()); // a save keeps its backup elsewhere
    EXPECT_EQ("01/01 Mine\r\n", ReadFileText(kept));
    // In use now, though it stays: not asked about again.
    theApp.LoadSettings();
    ModalAnswerer again({IDYES});
    Prepare();
    EXPECT_TRUE(again.Answered().empty());
    SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    ClearSettings();
}

TEST_F(DataPreparation, WhenTheCopyFailsBothFilesStay)
{
    std::string old = programFolder + "Tarvendel.dat";
    WriteFileText(old, "01/01 Old\r\n");
    CopyText(theApp.dataFolder, sizeof theApp.dataFolder, (programFolder + "missing\\").c_str());
    theApp.MigrateOldDataFile();
    EXPECT_TRUE(FileExists(old.c_str()));
    EXPECT_EQ(programFolder + "missing\\Tarvendel.dat", theApp.dataFilePath);
}

TEST_F(DataPreparation, AnEmptyFileGivesFiveThousandZeroBytes)
{
    Prepare();
    WriteFileText(DataFilePath(), "");
    ASSERT_EQ(1, theApp.LoadDataFile());
    EXPECT_EQ(5000, theApp.textBufferSize);
    for (int i = 0; i < theApp.textBufferSize; ++i)
        ASSERT_EQ(0, theApp.textBuffer[i]);
}

TEST_F(DataPreparation, TheFileIsLoadedWholeAndEndsInNulBytes)
{
    Prepare();
    std::string text = "12/25 Christmas\r\n07/04\t09:00 Parade\r\n";
    WriteFileText(DataFilePath(), text);
    ASSERT_EQ(1, theApp.LoadDataFile());
    EXPECT_EQ((int)text.size() + 5000, theApp.textBufferSize);
    EXPECT_EQ(text, std::string(theApp.textBuffer));
    EXPECT_EQ(theApp.textBuffer, theApp.parseCursor);
}

// Large files are lent by the system rather than copied; whichever way, the
// reader meets every line, a NUL inside the file is a line end, and the text
// ends where the file does.
TEST_F(DataPreparation, ALargeFileIsReadWholeWhetherMappedOrCopied)
{
    const struct {
        size_t size;
        int mapped;
    } cases[] = {{65536 + 100, 1}, {65536, 0}, {65536 + 4090, 0}, {60000, 0}};
    for (const auto& c : cases) {
        Prepare();
        const std::string line = "01/02/03 Line\r\n"; // 16 bytes
        const size_t lineCount = (c.size - 8) / line.size();
        std::string text;
        for (size_t i = 0; i < lineCount; ++i)
            text += line;
        text[lineCount / 2 * line.size()] = '\0'; // a line's first byte
        text += std::string(c.size - 8 - text.size(), ' ') + "\r\n9 Last";
        WriteFileText(DataFilePath(), text);
        ASSERT_EQ(1, theApp.LoadDataFile()) << c.size;
        EXPECT_EQ(c.mapped, theApp.textMapped) << c.size;
        char date[kDateTokenSize], time[kTimeTokenSize], last[kTextTokenSize] = "";
        int lines = 0;
        while (theApp.ReadEntryLine(date, time, last))
            ++lines;
        EXPECT_EQ((int)lineCount + 1, lines) << c.size;
        EXPECT_STREQ("Last", last) << c.size;
        theApp.ReleaseTextBuffer();
    }
}

TEST_F(DataPreparation, AMissingFileEndsARunStartSilentlyAndOpensEmptyByHand)
{
    Prepare();
    ModalAnswerer answerer;
    theApp.reminderMode = 1;
    EXPECT_EQ(0, theApp.LoadDataFile());
    EXPECT_TRUE(answerer.Answered().empty());

    theApp.reminderMode = 0;
    theApp.firstRun = 1;
    ASSERT_EQ(1, theApp.LoadDataFile());
    EXPECT_TRUE(answerer.Answered().empty());
    EXPECT_EQ(64000, theApp.textBufferSize);
    EXPECT_EQ(0, theApp.textBuffer[0]);

    theApp.firstRun = 0;
    ASSERT_EQ(1, theApp.LoadDataFile());
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Can't open file\n" + DataFilePath(), answerer.Answered()[0].text);
}

TEST_F(DataPreparation, AFileThatCannotBeReadWholeIsNeverParsedHalf)
{
    Prepare();
    WriteFileText(DataFilePath(), "12/25 Christmas\r\n07/04 Parade\r\n");
    // Another program holds a lock on part of the file: it opens, but the read fails.
    HANDLE holder = CreateFileA(DataFilePath().c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ASSERT_TRUE(LockFile(holder, 10, 0, 5, 0));

    ModalAnswerer answerer;
    theApp.reminderMode = 1;
    EXPECT_EQ(0, theApp.LoadDataFile());
    theApp.reminderMode = 0;
    ASSERT_EQ(1, theApp.LoadDataFile());
    EXPECT_EQ(64000, theApp.textBufferSize);
    EXPECT_EQ(0, theApp.textBuffer[0]);
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Can't open file\n" + DataFilePath(), answerer.Answered()[0].text);

    UnlockFile(holder, 10, 0, 5, 0);
    CloseHandle(holder);
}

TEST_F(DataPreparation, ADirectoryInPlaceOfTheFileCountsAsMissing)
{
    Prepare();
    CreateDirectoryA(DataFilePath().c_str(), NULL);
    theApp.reminderMode = 1;
    EXPECT_EQ(0, theApp.LoadDataFile());
    RemoveDirectoryA(DataFilePath().c_str());
}

TEST(CommandLine, RunInAnyCaseOrSlashRStartsReminderMode)
{
    const struct {
        const char* line;
        int reminderMode;
        const char* programPath;
    } cases[] = {
        {"Tarvendel.exe run", 1, "Tarvendel.exe"}, {"Tarvendel.exe /r", 1, "Tarvendel.exe"},
        {"Tarvendel.exe /Run", 1, "Tarvendel.exe"},
        {"\"C:\\Program Files\\Tarvendel\\Tarvendel.exe\" RUN", 1,
         "C:\\Program Files\\Tarvendel\\Tarvendel.exe"},
        {"Tarvendel.exe a b RUN", 0, "Tarvendel.exe"}, {"Tarvendel.exe", 0, "Tarvendel.exe"},
        {"C:\\T\\Tarvendel.exe later", 0, "C:\\T\\Tarvendel.exe"},
    };
    for (const auto& c : cases) {
        ResetApplication();
        theApp.ReadCommandLine(c.line);
        EXPECT_EQ(c.reminderMode, theApp.reminderMode) << c.line;
        EXPECT_STREQ(c.programPath, theApp.programPath) << c.line;
    }
}

TEST(CommandLine, AnyOtherSlashTokenIsReportedUpperCasedAndStartUpGoesOn)
{
    ResetApplication();
    ModalAnswerer answerer;
    theApp.ReadCommandLine("Tarvendel.exe /x /r");
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Unknown parameter\n/X", answerer.Answered()[0].text);
    EXPECT_EQ(1, theApp.reminderMode);
}

} // namespace
