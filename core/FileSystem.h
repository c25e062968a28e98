// File and folder operations of the start-up; all paths are 8-bit, at most 259 characters.
#pragma once

#include <windows.h>

const int kPathSize = 260;

int FileExists(const char* path);
int DirectoryExists(const char* path);

// Creates every missing level of path; levels that exist are passed over.
int CreateDirectoryPath(const char* path);

// Writes the shell folder's path into path (kPathSize bytes); empty when unknown.
void GetSpecialFolderPath(HWND owner, int folderId, char* path);

// The per-user application-data folder, without a trailing backslash.
void GetApplicationDataFolder(HWND owner, char* path);

// The running program file's full path (kPathSize bytes), whatever path it
// was started by; fallback when the system cannot tell or the path is too long.
void GetProgramFile(const char* fallback, char* path);

// Whether path is absolute: a drive letter with a backslash, or \\server\share.
int IsAbsolutePath(const char* path);
