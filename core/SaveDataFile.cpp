// Writing the table back to the data file without ever destroying the last
// good copy: the lines go to a new file beside it, which then replaces the
// data file in one step.
#include "Application.h"
#include "BoundedString.h"
#include "CommandLine.h"
#include "EntryReader.h"
#include "EntryTable.h"
#include "ShowError.h"

static const char kNewFileName[] = "Tarvendel.new";
static const char kBackupFileName[] = "Tarvendel.bak";
static const char kDataFileName[] = "Tarvendel.dat";
// Another program (a virus scanner, a backup tool) may hold the data file for
// a moment; the replacement is tried again for about this long.
static const int kReplaceRetries = 6;
static const DWORD kReplaceRetryMs = 50;

// The file's line for record: MM/DD[/YY], a TAB and HH:MM when it has a time
// that can be written, a space, the text, CR LF.
static void BuildFileLine(const ReminderEntry* record, DateRecord* work, char* line, size_t size)
{
    CopyTextN(line, size, record->dateText, record->annual ? 5 : sizeof record->dateText);
    // A time that did not parse when it was loaded is left out, not written as garbage.
    if (record->hasTime && record->timeText[0] != '\0' && ParseTime(record->timeText, work, 1) &&
        work->timeValid) {
        char time[10];
        FormatTime24(work, time, sizeof time);
        AppendText(line, size, "\t");
        AppendText(line, size, time);
        // "A party" right after a time would read as its AM mark.
        if (BeginsWithTimeMark(record->text))
            AppendText(line, size, " ");
    }
    AppendText(line, size, " ");
    AppendText(line, size, record->text);
    AppendText(line, size, "\r\n");
}

static int WriteAll(HANDLE file, const char* text, DWORD length)
{
    DWORD written = 0;
    // A full disk can answer TRUE with fewer bytes written.
    return WriteFile(file, text, length, &written, NULL) && written == length;
}

// Path of name in the folder of the data file.
static void BesideDataFile(const char* dataFilePath, const char* name, char* path, size_t size)
{
    CopyText(path, size, dataFilePath);
    StripFileName(path);
    AppendText(path, size, name);
}

// The backup is the program's own file: a read-only, hidden or system mark on
// it (left by a copy tool or a restore) must not make every later save fail.
static int KeepBackup(const char* dataFilePath, const char* backupPath)
{
    DWORD attributes = GetFileAttributesA(backupPath);
    const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & blocking) != 0 &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        SetFileAttributesA(backupPath, FILE_ATTRIBUTE_NORMAL);
    return CopyFileA(dataFilePath, backupPath, FALSE);
}

// Whether another program lets the data file be read; when it does not, the
// data file, not its backup, is what the user must free.
static int IsReadable(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return 1;
}

static int ReplaceDataFile(const char* newPath, const char* dataFilePath)
{
    for (int attempt = 0; attempt < kReplaceRetries; ++attempt) {
        if (MoveFileExA(newPath, dataFilePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 1;
        Sleep(kReplaceRetryMs);
    }
    return 0;
}

int Application::SaveDataFile()
{
    char newPath[kPathSize];
    char backupPath[kPathSize];
    BesideDataFile(dataFilePath, kNewFileName, newPath, sizeof newPath);
    BesideDataFile(dataFilePath, kBackupFileName, backupPath, sizeof backupPath);

    // Windows refuses to replace a read-only file, Wine would not; the user
    // made it read-only, so it is left alone everywhere.
    DWORD attributes = GetFileAttributesA(dataFilePath);
    int exists = attributes != INVALID_FILE_ATTRIBUTES;
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!exists || !(attributes & FILE_ATTRIBUTE_READONLY))
        file = CreateFileA(newPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           NULL);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError("Can't open file", dataFilePath);
        return 0;
    }

    int ok = 1;
    for (int i = 0; i < entryCount; ++i) {
        ReminderEntry* record = &entryTable.records[i];
        if (record->annual)
            record->removed = 0;
    }
    for (int i = 0; i < entryCount && ok; ++i) {
        const ReminderEntry* record = &entryTable.records[i];
        if (record->removed)
            continue;
        char line[140];
        BuildFileLine(record, &workDate, line, sizeof line);
        ok = WriteAll(file, line, (DWORD)lstrlenA(line));
    }
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;

    // The last good file stays as a backup; without one the save goes no further.
    const char* failedFile = kDataFileName;
    if (ok && exists) {
        ok = KeepBackup(dataFilePath, backupPath);
        if (!ok && IsReadable(dataFilePath))
            failedFile = kBackupFileName;
    }
    if (ok)
        ok = ReplaceDataFile(newPath, dataFilePath);
    if (!ok) {
        DeleteFileA(newPath);
        ShowError("Error writing to file", failedFile);
        return 0;
    }
    modified = 0;
    UpdateStatusBar();
    // What was saved decides the next alert.
    RearmFromTable();
    return 1;
}
