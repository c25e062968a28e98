// /EXPORT and /IMPORT: Tarvendel.exe started as its own process.
#include "support/ProcessRunner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

class CalendarStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        folder = NewTempFolder();
    }
    void TearDown() override
    {
        ClearSettings();
        RemoveTree(PellixFolder());
        if (!folder.empty())
            RemoveTree(folder);
    }
    std::string folder;
};

const char kData[] = "12/25 Christmas\r\n03/15/30\t14:30 Dentist\r\n07/04\t09:00 Parade\r\n";

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(CalendarStart, ExportWritesEveryReminderAndEndsWithZeroUnseen)
{
    ASSERT_TRUE(WriteDataFile(kData));
    std::string path = folder + "out.ics";
    ProcessRun run = RunProgram(TarvendelPath(), "/EXPORT \"" + path + "\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0, run.windowsShown);
    std::string file = ReadFileText(path);
    EXPECT_EQ(3u, Occurrences(file, "BEGIN:VEVENT\r\n"));
    EXPECT_EQ(1u, Occurrences(file, "DTSTART:20300315T143000\r\n"));
    EXPECT_EQ(2u, Occurrences(file, "RRULE:FREQ=YEARLY\r\n"));
    EXPECT_EQ(kData, ReadFileText(DataFilePath())) << "the data file is only read";
}

TEST_F(CalendarStart, AFailedExportShowsWhyAndEndsWithOne)
{
    const struct {
        const char* name;
        int withData;
        std::string arguments, box;
    } cases[] = {
        {"a missing folder", 1, "/export \"" + folder + "none\\out.ics\"",
         "Can't open file\n" + folder + "none\\out.ics"},
        {"no data file", 0, "/EXPORT \"" + folder + "out.ics\"", "Can't open file\n" + DataFilePath()},
        {"no file name", 1, "/EXPORT", "A file name must follow\n/EXPORT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(PellixFolder());
        if (c.withData) {
            ASSERT_TRUE(WriteDataFile(kData));
        }
        ProcessRun run = RunProgram(TarvendelPath(), c.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(1u, run.exitCode);
        ASSERT_EQ(1u, run.boxes.size());
        EXPECT_EQ(c.box, run.boxes[0].text);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "out.ics").c_str()));
    }
}

TEST_F(CalendarStart, ImportOpensTheListInEditModeWithTheRemindersAddedAndUnsaved)
{
    ASSERT_TRUE(WriteDataFile(kData));
    std::string path = folder + "contacts.vcf";
    WriteFileText(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nBDAY:1980-04-12\r\nEND:VCARD\r\n"
                        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nobody\r\nEND:VCARD\r\n");
    std::vector<std::string> boxes, lines;
    std::string mode, mod, dataWhileOpen;
    // Not the first run, which would save at once.
    ASSERT_TRUE(StoreSetting("Range", REG_DWORD, SettingBytes(10)));
    ProcessRun run = RunProgram(TarvendelPath(), "/IMPORT \"" + path + "\"", IDNO, 20000, [&](HWND main) {
        boxes = AnswerBoxes(main);
        lines = RemoteListLines(FindChildOfClass(main, "LISTBOX"));
        HWND status = FindChildOfClass(main, "msctls_statusbar32");
        mode = RemoteStatusText(status, 1);
        mod = RemoteStatusText(status, 3);
        dataWhileOpen = ReadFileText(DataFilePath());
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    // The summary comes before or while the window shows: either side answers it.
    std::vector<std::string> shown = boxes;
    for (const AnsweredWindow& box : run.boxes)
        shown.push_back(box.text);
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Imported from\n" + path + "\n\nAdded: 1\nAlready there: 0\nSkipped: 1\n   without a date: 1\n\n"
              "Nothing is saved until you save.",
              shown[0]);
    // Closing asks, answered No.
    EXPECT_EQ("Save data?", shown[1]);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(1u, Occurrences(lines[0] + lines[1] + lines[2] + lines[3], "04/12/"));
    EXPECT_EQ("\tEdit mode", mode);
    EXPECT_EQ("Mod", mod);
    EXPECT_EQ(kData, dataWhileOpen);
    EXPECT_EQ(kData, ReadFileText(DataFilePath()));
}

} // namespace
