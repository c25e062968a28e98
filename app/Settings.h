#pragma once

#include <stddef.h>

const size_t kRunEntrySize = 272;

// The start-up command for the program file at programFile: its folder, then
// "Tarvendel.exe RUN", the program in double quotes when the path holds a
// blank (unquoted, Windows could run a different program at login).
// Returns 0 when it did not fit.
int BuildRunEntry(const char* programFile, char* entry, size_t size);
