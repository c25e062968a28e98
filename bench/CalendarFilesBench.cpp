// How long an export of the whole table to a calendar file and an import of
// that file into an empty table take, for tables of growing size, through the
// program's own code path (the import's summary box answered at once).
#include "app/CalendarFiles.h"
#include "app/ProgramObjects.h"
#include "BenchClock.h"
#include "BenchWindow.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "tests/support/ModalAnswerer.h"

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

// Distinct reminders: annual and one-off, with and without a time.
std::string MakeFile(int lines)
{
    std::string file;
    for (int i = 0; i < lines; ++i) {
        char line[80];
        unsigned month = 1 + i % 12, day = 1 + (i / 12) % 28;
        if (i % 3 == 0)
            snprintf(line, sizeof line, "%02u/%02u Birthday: Person %d\r\n", month, day, i);
        else
            snprintf(line, sizeof line, "%02u/%02u/%02u\t%02u:%02u Appointment number %d\r\n", month, day,
                     20 + i % 10, i % 24, i % 60, i);
        file += line;
    }
    return file;
}

// The table built from file, as loading builds it.
void Load(const std::string& file)
{
    PutDataText(file);
    theApp.BuildEntryTable();
}

} // namespace

int main()
{
    if (!OpenBenchWindow())
        return 1;
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    AppendText(path, sizeof path, "TarvendelBench.ics");
    printf("%10s %12s %12s %10s\n", "reminders", "export ms", "import ms", "added");
    for (int count : {100, 1000, 10000}) {
        Load(MakeFile(count));
        double start = Now();
        ExportCalendarFile(path);
        double exported = Now() - start;
        Load("");
        CalendarImportCounts counts;
        ModalAnswerer answerer({IDOK});
        start = Now();
        ImportCalendarFile(theApp.window, path, &counts);
        double imported = Now() - start;
        printf("%10d %12.1f %12.1f %10d\n", count, exported * 1000, imported * 1000, counts.added);
    }
    DeleteFileA(path);
    return 0;
}
