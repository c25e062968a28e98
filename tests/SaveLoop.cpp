// Saves the data file named on the command line again and again, alternating
// a table of 2000 and one of 3000 reminders, until it is killed.
#include "app/ProgramObjects.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    instanceHandle = GetModuleHandleA(NULL);
    GetLocalTime((SYSTEMTIME*)&today);
    CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, argv[1]);
    std::string tables[2];
    for (int i = 0; i < 3000; ++i) {
        std::string line = "01/01 Reminder number " + std::to_string(i) + "\r\n";
        tables[1] += line;
        if (i < 2000)
            tables[0] += line;
    }
    for (int round = 0;; round = 1 - round) {
        theApp.textBufferSize = (int)tables[round].size() + 1;
        theApp.textBuffer = (char*)GlobalAlloc(GPTR, (SIZE_T)theApp.textBufferSize);
        memcpy(theApp.textBuffer, tables[round].data(), tables[round].size());
        theApp.BuildEntryTable();
        theApp.SaveDataFile();
    }
}
