// What the benchmarks of the open window share: the main window opened as a
// start by hand opens it, and a data file's text put where loading reads it.
#pragma once

#include "app/ProgramObjects.h"

#include <stdio.h>
#include <string.h>

#include <string>

// The main window on today's date; 0, after saying so, when it cannot open.
inline int OpenBenchWindow()
{
    instanceHandle = GetModuleHandleA(NULL);
    GetLocalTime((SYSTEMTIME*)&today);
    if (theApp.OpenMainWindow(SW_SHOWNORMAL) != 1) {
        printf("the main window could not be opened\n");
        return 0;
    }
    return 1;
}

// file as the text the table is built from, with room behind it as the
// program's own reading leaves.
inline void PutDataText(const std::string& file)
{
    theApp.textBufferSize = (int)file.size() + 5000;
    theApp.textBuffer = (char*)GlobalAlloc(GPTR, (SIZE_T)theApp.textBufferSize);
    memcpy(theApp.textBuffer, file.data(), file.size());
}
