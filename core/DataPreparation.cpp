// Start-up steps that fix the paths and load the data file into memory.
#include "Application.h"
#include "BoundedString.h"
#include "CommandLine.h"
#include "EntryReader.h"
#include "ShowError.h"
#include "../app/CalendarFiles.h"
#include "../controls/MessageBox.h"

#include <string.h>

static const char kDataFileName[] = "Tarvendel.dat";
// Larger files are refused rather than read: the buffer size must stay an int.
static const DWORD kLargestDataFile = 0x10000000;

void Application::ParseCommandLine()
{
    ReadCommandLine(GetCommandLineA());
    GetProgramFile(programPath, programFile);
}

void Application::ReadCommandLine(const char* commandLine)
{
    char text[1024];
    CopyText(text, sizeof text, commandLine);
    char* tokens[3];
    int count = SplitCommandLine(text, tokens, 3);
    CopyText(programPath, sizeof programPath, tokens[0]);
    CopyText(programFile, sizeof programFile, programPath);

    for (int i = 0; i < count; ++i) {
        char* token = tokens[i];
        if (lstrcmpiA(token, "RUN") == 0) {
            reminderMode = 1;
            break;
        }
        if (token[0] != '/')
            continue;
        UpperCaseAscii(token);
        int taken = TakeCalendarParameter(token, i + 1 < count ? tokens[i + 1] : NULL);
        if (taken) {
            i += taken - 1;
            continue;
        }
        alertStart = alertStart || lstrcmpA(token, kAlertArgument) == 0;
        if (token[1] == 'R')
            reminderMode = 1;
        else
            ShowError("Unknown parameter", token);
    }
}

void Application::LocateDataFolder()
{
    GetApplicationDataFolder(window, dataFolder);
    AppendText(dataFolder, sizeof dataFolder, "\\PellixFreeware\\Tarvendel\\");
    if (!DirectoryExists(dataFolder))
        CreateDirectoryPath(dataFolder);
}

// A file as last written: its write time and size. A file copied or saved
// anew there is another file, and is asked about again.
static int MarkOf(const char* path, unsigned long long mark[2])
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    mark[0] = ((unsigned long long)data.ftLastWriteTime.dwHighDateTime << 32) |
              data.ftLastWriteTime.dwLowDateTime;
    mark[1] = ((unsigned long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return 1;
}

// Where the reminders that an old file replaces are kept: a name of their
// own, which no save ever writes, and never one that is there already.
static int MakeReplacedName(const char* dataFolder, char* path, size_t size)
{
    for (int attempt = 1; attempt <= 99; ++attempt) {
        CopyText(path, size, dataFolder);
        AppendText(path, size, "Tarvendel-replaced-");
        AppendUnsigned(path, size, DateStamp(&today));
        if (attempt > 1) {
            AppendText(path, size, "-");
            AppendUnsigned(path, size, (unsigned)attempt);
        }
        if (AppendText(path, size, ".dat") && !FileExists(path))
            return 1;
    }
    return 0;
}

static int AskToUseOldFile(const char* oldPath, const char* newPath, const char* keptPath)
{
    char question[4 * kPathSize];
    CopyText(question, sizeof question, "A reminder file was found beside the program:\n");
    AppendText(question, sizeof question, oldPath);
    AppendText(question, sizeof question, "\n\nUse it instead of your reminders in\n");
    AppendText(question, sizeof question, newPath);
    AppendText(question, sizeof question, "?\n\nYour reminders would be kept in\n");
    AppendText(question, sizeof question, keptPath);
    return messageBox.Show(NULL, question, "Tarvendel", MB_YESNO | MB_ICONQUESTION, NULL, 0,
                           RGB(192, 192, 192), RGB(128, 128, 128));
}

void Application::MigrateOldDataFile()
{
    // Beside the running program, not beside the path it was started by: a
    // bare name would point into the current folder, whose "Tarvendel.dat"
    // may be anyone's and must not replace the user's reminders.
    char oldPath[kPathSize];
    CopyText(oldPath, sizeof oldPath, programFile);
    StripFileName(oldPath);
    AppendText(oldPath, sizeof oldPath, kDataFileName);

    char newPath[kPathSize];
    CopyText(newPath, sizeof newPath, dataFolder);
    AppendText(newPath, sizeof newPath, kDataFileName);
    CopyText(dataFilePath, sizeof dataFilePath, newPath);

    unsigned long long mark[2];
    if (!MarkOf(oldPath, mark))
        return;
    // An upgrade from a version that kept the file beside the program. One
    // that stays where it cannot be removed (a read-only program folder) is
    // in use now, and nothing to ask about later.
    if (!FileExists(newPath)) {
        if (CopyFileA(oldPath, newPath, TRUE) && !DeleteFileA(oldPath))
            RememberDeclinedOldFile(mark);
        return;
    }
    // Otherwise the file may be anyone's (a download, a shared stick): only
    // the user, asked at a start by hand, may put it in place of theirs.
    if (reminderMode || (mark[0] == DeclinedOldFile[0] && mark[1] == DeclinedOldFile[1]))
        return;
    char keptPath[kPathSize];
    if (!MakeReplacedName(dataFolder, keptPath, sizeof keptPath))
        return;
    int answer = AskToUseOldFile(oldPath, newPath, keptPath);
    // A box closed unanswered decides nothing: the next start asks again.
    if (answer == IDYES && CopyFileA(newPath, keptPath, TRUE) &&
        CopyFileA(oldPath, newPath, FALSE) && DeleteFileA(oldPath))
        return;
    // Declined, or in use but not removable (a read-only program folder):
    // either way this file is not asked about again.
    if (answer == IDYES || answer == IDNO)
        RememberDeclinedOldFile(mark);
}

// Lends the file's own pages to the reader: reading it would copy every
// byte into pages of the program's own first, which for 100,000 reminders
// took most of a silent start's time beyond an empty program's. The view is
// copy-on-write, so that a NUL can become a line end in it, and the zeros
// the system puts after the file's end in its last page end the text (the
// reader looks at most a word past the first zero). A small file, where the
// copy costs nothing measurable, and one that leaves its last page too
// little room for those zeros, are read instead.
static int MapWholeFile(HANDLE file, DWORD size, char** view, int* viewSize)
{
    const DWORD kSmallestMapped = 65536, kZerosNeeded = 8;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    DWORD page = system.dwPageSize;
    if (size < kSmallestMapped || page == 0 || size % page == 0 ||
        page - size % page < kZerosNeeded)
        return 0;
    HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_WRITECOPY, 0, 0, NULL);
    if (mapping == NULL)
        return 0;
    *view = (char*)MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0);
    CloseHandle(mapping); // the view keeps it
    if (*view == NULL)
        return 0;
    *viewSize = (int)((size / page + 1) * page);
    return 1;
}

// Reads the whole file into a new buffer with zeros after the text.
static int ReadIntoBuffer(HANDLE file, DWORD size, char** buffer, int* bufferSize)
{
    *bufferSize = (int)size + 5000;
    *buffer = (char*)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)*bufferSize);
    if (*buffer == NULL)
        return -1;
    DWORD read = 0;
    if (!ReadFile(file, *buffer, size, &read, NULL) || read != size) {
        GlobalFree(*buffer);
        *buffer = NULL;
        return 0;
    }
    return 1;
}

// The whole data file in memory, mapped (*mapped 1) or read, followed by
// zeros; 0 when the file cannot be opened or read whole, so it is never
// parsed half, -1 without memory.
static int LoadWholeFile(const char* path, char** buffer, int* bufferSize, int* mapped)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    int result = 0;
    *mapped = 0;
    if (size != INVALID_FILE_SIZE && high == 0 && size <= kLargestDataFile) {
        *mapped = MapWholeFile(file, size, buffer, bufferSize);
        result = *mapped ? 1 : ReadIntoBuffer(file, size, buffer, bufferSize);
    }
    CloseHandle(file);
    if (result != 1)
        return result;
    EndLinesAtNuls(*buffer, size);
    return 1;
}

int Application::LoadDataFile()
{
    ReleaseTextBuffer();
    char* buffer = NULL;
    int size = 0, mapped = 0;
    int result = LoadWholeFile(dataFilePath, &buffer, &size, &mapped);
    if (result == 0) {
        if (reminderMode)
            return 0;
        if (!firstRun)
            ShowError("Can't open file", dataFilePath);
        size = 64000;
        buffer = (char*)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)size);
    }
    if (buffer == NULL) {
        ShowError("Out of memory", "");
        return 0;
    }
    textBuffer = buffer;
    textBufferSize = size;
    textMapped = mapped;
    parseCursor = textBuffer;
    return 1;
}
