// Files, folders and registry keys the tests set up and clear away.
#pragma once

#include <windows.h>

#include <string>

std::string DataFolderPath();  // the per-user data folder, ending in '\'
std::string DataFilePath();
std::string ProgramFolder();   // the folder of the running test executable, ending in '\'
std::string NewTempFolder();   // a new empty folder, ending in '\'

int WriteFileText(const std::string& path, const std::string& text);
int WriteDataFile(const std::string& text); // the data folder made on the way
std::string ReadFileText(const std::string& path, int* found = nullptr);
void RemoveTree(const std::string& folder);

// Deletes the program's settings key, its start-up value and the switch
// Windows keeps for that value.
void ClearSettings();
extern const char kRunKey[];      // the per-user Run key
extern const char kApprovedKey[]; // the system's start-up switches for it

// The current user's SID, and the name of that user's unlock-and-wake task.
std::wstring UserSid();
std::wstring UserTaskName();
// Whether the Task Scheduler's root folder holds the task, asked through the
// scheduler itself: 1 or 0, -1 when it could not be asked.
int TaskExists(const std::wstring& name);
int UserTaskExists(); // the current user's task, by the name the tests expect
// A task as earlier versions made it: name, running as userId (a SID).
int RegisterTestTask(const std::wstring& name, const std::wstring& userId);
void DeleteTestTask(const std::wstring& name);
// The user a registered task runs as; empty when the scheduler does not say
// (Wine keeps no principal).
std::wstring TaskUserId(const std::wstring& name);

// The program's settings key under HKEY_CURRENT_USER, and its values: stored
// (the key made on the way; non-zero when stored), and read back as a number
// (-1 when there is none).
extern const char kSettingsKey[];
int StoreSetting(const char* name, DWORD type, const std::string& data);
// A number as a value's bytes, cut or padded with zeros to size.
std::string SettingBytes(DWORD value, size_t size = 4);
long long ReadSetting(const char* name);
int SettingsKeyExists();

std::string PellixFolder(); // the data folder's parent, ending in '\'
SYSTEMTIME InDays(int days); // the local time so many days from now
// That day as the data file writes it: "MM/DD", with withYear "MM/DD/YY".
std::string DateText(int days, int withYear);
std::string Corners(const RECT& r); // "left,top - right,bottom"
