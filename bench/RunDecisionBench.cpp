// How fast the start-up list's run decision scans a data file with nothing in
// range, in-process and as a whole Tarvendel.exe RUN against an empty program.
#include "core/Application.h"
#include "BenchClock.h"
#include "core/BoundedString.h"

#include <shlobj.h>

#include <initializer_list>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Reminders of past years only, one-off, half of them with a time: every line
// is read and judged, none is in range.
char* MakeDataFile(int lines, size_t* length, size_t* size)
{
    static const char* const texts[] = {"Dentist", "Pay rent", "Call the garage about the car",
                                        "Anna's school play", "Renew passport"};
    size_t capacity = (size_t)lines * 64 + 5000;
    char* text = (char*)GlobalAlloc(GPTR, capacity);
    size_t used = 0;
    unsigned seed = 12345;
    for (int i = 0; i < lines; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned r = seed >> 8;
        char line[64];
        char number[8];
        line[0] = '\0';
        TwoDigits(1 + r % 12, number);
        AppendText(line, sizeof line, number);
        AppendText(line, sizeof line, "/");
        TwoDigits(1 + (r / 12) % 28, number);
        AppendText(line, sizeof line, number);
        AppendText(line, sizeof line, "/");
        TwoDigits((r / 336) % 21, number); // 2000 to 2020
        AppendText(line, sizeof line, number);
        AppendText(line, sizeof line, r % 2 ? "\t14:30 " : " ");
        AppendText(line, sizeof line, texts[r % 5]);
        AppendText(line, sizeof line, "\r\n");
        size_t n = strlen(line);
        memcpy(text + used, line, n);
        used += n;
    }
    *length = used;
    *size = capacity;
    return text;
}

// A last shown list some weeks ago, as after a holiday: every line is also
// judged for a day missed since then.
unsigned LastRunStamp()
{
    DateRecord now;
    GetLocalTime((SYSTEMTIME*)&now);
    DateRecord last = now;
    last.day = (uint16_t)(now.day > 28 ? 28 : now.day);
    if (now.month > 1) {
        last.month = (uint16_t)(now.month - 1);
    } else {
        last.month = 12;
        last.year = (uint16_t)(now.year - 1);
    }
    return DateStamp(&last);
}

void PrepareDecision()
{
    GetLocalTime((SYSTEMTIME*)&today);
    theApp.reminderMode = 1;
    theApp.RunDay = 99;
    theApp.RunDate = theApp.ShownDate = LastRunStamp();
    theApp.AlwaysRun = 0;
    theApp.Range = 20;
}

int MeasureInProcess()
{
    printf("%10s %10s %10s %14s %10s\n", "lines", "MB", "ms", "lines/s", "MB/s");
    const int sizes[] = {1000, 100000, 1000000};
    for (int lines : sizes) {
        size_t length = 0, size = 0;
        char* text = MakeDataFile(lines, &length, &size);
        PrepareDecision();
        theApp.textBuffer = text;
        theApp.textBufferSize = (int)size;
        double best = 1e9;
        int rounds = lines >= 1000000 ? 5 : 20;
        for (int round = 0; round < rounds; ++round) {
            double start = Now();
            int shown = theApp.ShouldShowWindow();
            double elapsed = Now() - start;
            if (shown) {
                printf("a line was in range: the generated file is wrong\n");
                return 0;
            }
            if (elapsed < best)
                best = elapsed;
        }
        double megabytes = (double)length / 1e6;
        printf("%10d %10.2f %10.3f %14.0f %10.0f\n", lines, megabytes, best * 1e3,
               lines / best, megabytes / best);
        theApp.textBuffer = NULL;
        theApp.textBufferSize = 0;
        GlobalFree(text);
    }
    return 1;
}

double RunOnce(const char* program, const char* arguments, DWORD* exitCode)
{
    char line[600];
    CopyText(line, sizeof line, "\"");
    AppendText(line, sizeof line, program);
    AppendText(line, sizeof line, "\" ");
    AppendText(line, sizeof line, arguments);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    double start = Now();
    if (!CreateProcessA(program, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    double elapsed = Now() - start;
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

int CompareTimes(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

double Median(double* times, int count)
{
    qsort(times, (size_t)count, sizeof(double), CompareTimes);
    return times[count / 2];
}

void WriteDataFile(const char* path, int lines)
{
    size_t length = 0, size = 0;
    char* text = MakeDataFile(lines, &length, &size);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, text, (DWORD)length, &written, NULL);
    CloseHandle(file);
    GlobalFree(text);
}

int MeasureStartup()
{
    char folder[MAX_PATH];
    GetModuleFileNameA(NULL, folder, sizeof folder);
    *(strrchr(folder, '\\') + 1) = '\0';
    char tarvendel[MAX_PATH], empty[MAX_PATH];
    CopyText(tarvendel, sizeof tarvendel, folder);
    AppendText(tarvendel, sizeof tarvendel, "Tarvendel.exe");
    CopyText(empty, sizeof empty, folder);
    AppendText(empty, sizeof empty, "EmptyProgram.exe");

    // The data file where Tarvendel.exe looks for it.
    char data[MAX_PATH];
    SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, 0, data);
    AppendText(data, sizeof data, "\\PellixFreeware");
    CreateDirectoryA(data, NULL);
    AppendText(data, sizeof data, "\\Tarvendel");
    CreateDirectoryA(data, NULL);
    AppendText(data, sizeof data, "\\Tarvendel.dat");
    DWORD lastRun = LastRunStamp();
    for (const char* name : {"RunDate", "ShownDate"})
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Pellix Freeware\\Tarvendel\\Settings", name,
                        REG_DWORD, &lastRun, sizeof lastRun);
    const int runs = 31;
    double emptyTimes[runs], smallTimes[runs], largeTimes[runs];
    DWORD code = 0, smallCode = 0, largeCode = 0;
    // A new Wine prefix starts its services in the background for a few
    // seconds; measured before they settle, any program looks slow.
    for (double start = Now(); Now() - start < 4.0;)
        RunOnce(empty, "", &code);
    // Taken in turns, so that a busy moment of the machine weighs on all three.
    for (int i = 0; i < runs; ++i) {
        emptyTimes[i] = RunOnce(empty, "", &code);
        WriteDataFile(data, 10);
        smallTimes[i] = RunOnce(tarvendel, "RUN", &smallCode);
        WriteDataFile(data, 100000);
        largeTimes[i] = RunOnce(tarvendel, "RUN", &largeCode);
    }
    DeleteFileA(data);
    if (smallCode != 0 || largeCode != 0) {
        printf("Tarvendel.exe RUN ended with %lu and %lu, not 0\n", (unsigned long)smallCode,
               (unsigned long)largeCode);
        return 0;
    }
    // Start times under Wine come in two bands (about 15 and about 30 ms for
    // the empty program), so the fastest run is shown beside the median.
    double emptyMedian = Median(emptyTimes, runs), emptyFastest = emptyTimes[0];
    double smallMedian = Median(smallTimes, runs), smallFastest = smallTimes[0];
    double largeMedian = Median(largeTimes, runs), largeFastest = largeTimes[0];
    printf("\nstart to end under Wine, %d runs each, nothing in range\n", runs);
    printf("  %-34s %10s %8s %10s %8s\n", "", "median ms", "ratio", "fastest ms", "ratio");
    printf("  %-34s %10.1f %8s %10.1f %8s\n", "empty Win32 program", emptyMedian * 1e3, "",
           emptyFastest * 1e3, "");
    printf("  %-34s %10.1f %8.2f %10.1f %8.2f\n", "Tarvendel.exe RUN, 10 lines", smallMedian * 1e3,
           smallMedian / emptyMedian, smallFastest * 1e3, smallFastest / emptyFastest);
    printf("  %-34s %10.1f %8.2f %10.1f %8.2f\n", "Tarvendel.exe RUN, 100,000 lines",
           largeMedian * 1e3, largeMedian / emptyMedian, largeFastest * 1e3,
           largeFastest / emptyFastest);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int ok = MeasureInProcess();
    if (!(argc > 1 && strcmp(argv[1], "--no-startup") == 0))
        ok = MeasureStartup() && ok;
    return ok ? 0 : 1;
}
