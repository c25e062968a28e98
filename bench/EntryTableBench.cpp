// How long the main window takes to load and list the reminders, to refresh
// the list after an Add, and to save, for tables of growing size.
#include "app/ProgramObjects.h"
#include "BenchClock.h"
#include "BenchWindow.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"

#include <shlobj.h>

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

std::string MakeFile(int lines)
{
    static const char* const texts[] = {"Dentist", "Pay rent", "Call the garage about the car",
                                        "Anna's birthday", "Renew passport"};
    std::string file;
    unsigned seed = 99;
    for (int i = 0; i < lines; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned r = seed >> 8;
        char line[80];
        if (r % 3 == 0)
            snprintf(line, sizeof line, "%02u/%02u %s\r\n", 1 + r % 12, 1 + (r / 12) % 28, texts[r % 5]);
        else
            snprintf(line, sizeof line, "%02u/%02u/%02u\t%02u:%02u %s\r\n", 1 + r % 12,
                     1 + (r / 12) % 28, 20 + (r / 336) % 10, (r / 7) % 24, (r / 11) % 60,
                     texts[r % 5]);
        file += line;
    }
    return file;
}

} // namespace

int main()
{
    if (!OpenBenchWindow())
        return 1;
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, folder);
    AppendText(theApp.dataFilePath, sizeof theApp.dataFilePath, "TarvendelBench.dat");

    printf("%10s %16s %16s %12s\n", "entries", "load+list ms", "refresh ms", "save ms");
    const int sizes[] = {1000, 10000, 100000};
    for (int entries : sizes) {
        std::string file = MakeFile(entries);
        double best[3] = {1e9, 1e9, 1e9};
        int rounds = entries >= 100000 ? 2 : 5;
        for (int round = 0; round < rounds; ++round) {
            PutDataText(file);
            double start = Now();
            theApp.BuildEntryTable();
            double loaded = Now();
            // An Add: one more record, then the list rebuilt.
            entryTable.records[theApp.entryCount] = entryTable.records[0];
            ++theApp.entryCount;
            theApp.modified = 1;
            theApp.RefreshList();
            double refreshed = Now();
            theApp.SaveDataFile();
            double saved = Now();
            double times[3] = {loaded - start, refreshed - loaded, saved - refreshed};
            for (int i = 0; i < 3; ++i)
                best[i] = times[i] < best[i] ? times[i] : best[i];
        }
        printf("%10d %16.1f %16.1f %12.1f\n", entries, best[0] * 1e3, best[1] * 1e3, best[2] * 1e3);
    }
    DeleteFileA(theApp.dataFilePath);
    return 0;
}
