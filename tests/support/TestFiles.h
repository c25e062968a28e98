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

// Deletes the program's settings key and its start-up value.
void ClearSettings();

// Whether the Task Scheduler's root folder holds the task "Tarvendel", asked
// through the scheduler itself: 1 or 0, -1 when it could not be asked.
int StartupTaskExists();

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
