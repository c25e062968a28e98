#include "FileSystem.h"

#include "BoundedString.h"

#include <shlobj.h>

int FileExists(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return 1;
}

// One question to the file system: changing into the folder and back, as a
// test for it, costs three, at every start.
int DirectoryExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Position after the root of path: "\\server\share\" or the first component ("C:\").
static char* SkipRoot(char* path)
{
    char* p = path;
    int components = 1;
    if (path[0] != '\0' && path[1] == '\\') {
        p = path + 2;
        components = 2;
    }
    for (; components > 0 && *p != '\0'; --components) {
        while (*p != '\0' && *p != '\\')
            ++p;
        if (*p == '\\')
            ++p;
    }
    return p;
}

int CreateDirectoryPath(const char* path)
{
    char copy[kPathSize];
    if (!CopyText(copy, sizeof copy, path))
        return 0;
    char* p = SkipRoot(copy);
    while (*p != '\0') {
        while (*p != '\0' && *p != '\\')
            ++p;
        char kept = *p;
        *p = '\0';
        if (!CreateDirectoryA(copy, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
            return 0;
        *p = kept;
        if (kept == '\0')
            break;
        ++p;
    }
    return 1;
}

void GetSpecialFolderPath(HWND owner, int folderId, char* path)
{
    path[0] = '\0';
    LPITEMIDLIST items = NULL;
    if (SHGetSpecialFolderLocation(owner, folderId, &items) != S_OK || items == NULL)
        return;
    char found[MAX_PATH];
    if (SHGetPathFromIDListA(items, found))
        CopyText(path, kPathSize, found);
    CoTaskMemFree(items);
}

// Windows sets APPDATA at logon to the shell's application-data folder. Asking
// the shell costs a start from the start-up list most of its time (it loads
// the window DLLs), so the shell is asked only when APPDATA is not usable.
void GetApplicationDataFolder(HWND owner, char* path)
{
    // A relative value would name a folder below whatever the current folder
    // happens to be, and the reminders would follow it from start to start.
    DWORD length = GetEnvironmentVariableA("APPDATA", path, kPathSize);
    if (length > 0 && length < (DWORD)kPathSize && IsAbsolutePath(path) && DirectoryExists(path))
        return;
    GetSpecialFolderPath(owner, CSIDL_APPDATA, path);
}

void GetProgramFile(const char* fallback, char* path)
{
    DWORD length = GetModuleFileNameA(NULL, path, kPathSize);
    if (length == 0 || length >= (DWORD)kPathSize)
        CopyText(path, kPathSize, fallback);
}

int IsAbsolutePath(const char* path)
{
    char first = path[0];
    int letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    if (letter && path[1] == ':' && path[2] == '\\')
        return 1;
    // \\server\share: a server name must follow the two backslashes.
    return path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
}
