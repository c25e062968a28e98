// Start-up steps that fix the paths and load the data file into memory.
#include "Application.h"
#include "BoundedString.h"
#include "CommandLine.h"
#include "ShowError.h"

#include <string.h>

static const char kDataFileName[] = "Tarvendel.dat";
// Where the data folder's previous file waits while an old file is moved in.
static const char kMigrationBackupName[] = "Tarvendel.mig";
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

    if (FileExists(oldPath)) {
        char backupPath[kPathSize];
        CopyText(backupPath, sizeof backupPath, dataFolder);
        AppendText(backupPath, sizeof backupPath, kMigrationBackupName);
        int backedUp = FileExists(newPath) && CopyFileA(newPath, backupPath, FALSE);

        if (CopyFileA(oldPath, newPath, FALSE) && !DeleteFileA(oldPath) && backedUp) {
            // The old file stays where it cannot be removed (a read-only
            // program folder) and would be copied over the user's current
            // reminders at every start; the file it replaced is theirs.
            CopyFileA(backupPath, newPath, FALSE);
        }
        if (backedUp)
            DeleteFileA(backupPath);
    }
    CopyText(dataFilePath, sizeof dataFilePath, newPath);
}

// Opens and reads the whole data file into a new zero-filled buffer; 0 when
// the file cannot be opened or read whole, so it is never parsed half.
static int ReadWholeFile(const char* path, char** buffer, int* bufferSize)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kLargestDataFile) {
        CloseHandle(file);
        return 0;
    }
    *bufferSize = (int)size + 5000;
    *buffer = (char*)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)*bufferSize);
    if (*buffer == NULL) {
        CloseHandle(file);
        return -1;
    }
    DWORD read = 0;
    BOOL ok = ReadFile(file, *buffer, size, &read, NULL);
    CloseHandle(file);
    if (!ok || read != size) {
        GlobalFree(*buffer);
        *buffer = NULL;
        return 0;
    }
    // The reader stops at the first NUL. One inside the file (a crash can
    // leave a run of them) ends its line instead, or the reminders behind it
    // would be gone from the file at the next save.
    for (char* nul = (char*)memchr(*buffer, 0, size); nul != NULL;
         nul = (char*)memchr(nul + 1, 0, size - (DWORD)(nul + 1 - *buffer)))
        *nul = '\n';
    return 1;
}

int Application::LoadDataFile()
{
    ReleaseTextBuffer();
    char* buffer = NULL;
    int size = 0;
    int result = ReadWholeFile(dataFilePath, &buffer, &size);
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
    parseCursor = textBuffer;
    return 1;
}
