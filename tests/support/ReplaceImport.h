// Fault injection: the program's calls into the system go through this
// executable's import table, so a test can point one at a stand-in.
#pragma once

#include <windows.h>

// Points this executable's import of name at replacement; returns the old
// target, null when the executable does not import name.
void* ReplaceImport(const char* name, void* replacement);
