// Files, folders and registry keys the tests set up and clear away.
#pragma once

#include <string>

std::string DataFolderPath();  // the per-user data folder, ending in '\'
std::string DataFilePath();
std::string ProgramFolder();   // the folder of the running test executable, ending in '\'
std::string NewTempFolder();   // a new empty folder, ending in '\'

int WriteFileText(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path, int* found = nullptr);
void RemoveTree(const std::string& folder);

// Deletes the program's settings key and its start-up value.
void ClearSettings();

// Whether the Task Scheduler's root folder holds the task "Tarvendel", asked
// through the scheduler itself: 1 or 0, -1 when it could not be asked.
int StartupTaskExists();
