// How fast the start-up list's run decision scans a data file with nothing in
// range, in-process and as a whole Tarvendel.exe RUN against an empty program.
#include "core/Application.h"
#include "BenchClock.h"
#include "core/BoundedString.h"

#include <initializer_list>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Reminders of past years, one-off, half of them with a time, and every tenth
// an annual one with a time two to ten months ahead: every line is read and
// judged, none is due, and the timed ones lie ahead.
char* MakeDataFile(int lines, size_t* length, size_t* size)
{
    DateRecord now;
    GetLocalTime((SYSTEMTIME*)&now);
    static const char* const texts[] = {"Dentist", "Pay rent", "Call the garage about the car",
                                        "Anna's school play", "Renew passport"};
    size_t capacity = (size_t)lines * 64 + 5000;
    char* text = (char*)GlobalAlloc(GPTR, capacity);
    size_t used = 0;
    // First, the one that every file's next alert is, so that a start re-arms
    // the alert task only the first time, as starts do day after day.
    SYSTEMTIME first;
    FILETIME when;
    SystemTimeToFileTime((const SYSTEMTIME*)&now, &when);
    ULARGE_INTEGER ticks = {{when.dwLowDateTime, when.dwHighDateTime}};
    ticks.QuadPart += 25ULL * 24 * 3600 * 10000000; // 25 days on: past any range
    when.dwLowDateTime = ticks.LowPart;
    when.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&when, &first);
    char digits[8];
    char head[64] = "";
    TwoDigits(first.wMonth, digits);
    AppendText(head, sizeof head, digits);
    AppendText(head, sizeof head, "/");
    TwoDigits(first.wDay, digits);
    AppendText(head, sizeof head, digits);
    AppendText(head, sizeof head, "\t08:00 First alert\r\n");
    used = strlen(head);
    memcpy(text, head, used);
    unsigned seed = 12345;
    for (int i = 1; i < lines; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned r = seed >> 8;
        char line[64];
        char number[8];
        line[0] = '\0';
        if (i % 10 == 9) {
            int month = (now.month - 1 + 2 + (int)(r % 8)) % 12 + 1;
            TwoDigits((unsigned)month, number);
            AppendText(line, sizeof line, number);
            AppendText(line, sizeof line, "/");
            TwoDigits(1 + (r / 12) % 28, number);
            AppendText(line, sizeof line, number);
            AppendText(line, sizeof line, "\t09:15 ");
        } else {
            TwoDigits(1 + r % 12, number);
            AppendText(line, sizeof line, number);
            AppendText(line, sizeof line, "/");
            TwoDigits(1 + (r / 12) % 28, number);
            AppendText(line, sizeof line, number);
            AppendText(line, sizeof line, "/");
            TwoDigits((r / 336) % 21, number); // 2000 to 2020
            AppendText(line, sizeof line, number);
            AppendText(line, sizeof line, r % 2 ? "\t14:30 " : " ");
        }
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

// Start to end, or with untilPainted start to the first idle moment of a
// window that then is closed: its first messages, the list's painting among
// them, have been handled.
BOOL CALLBACK CloseIfOf(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == (DWORD)processId && IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, 40001, 0); // Exit: no question, nothing changed
    return TRUE;
}

void CloseWindowsOf(DWORD processId)
{
    EnumWindows(CloseIfOf, (LPARAM)processId);
}

double RunOnce(const char* program, const char* arguments, DWORD* exitCode, int untilPainted = 0)
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
    // Wine's loader now and then fails to start a program at all (the
    // installer test meets it too); such a run is timed again.
    for (int attempt = 1;
         !CreateProcessA(program, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process);
         ++attempt) {
        printf("could not start %s (error %lu)\n", program, GetLastError());
        if (attempt == 3)
            ExitProcess(1);
        start = Now();
    }
    double elapsed;
    if (untilPainted) {
        WaitForInputIdle(process.hProcess, 10000);
        elapsed = Now() - start;
        CloseWindowsOf(process.dwProcessId);
        WaitForSingleObject(process.hProcess, INFINITE);
    } else {
        WaitForSingleObject(process.hProcess, INFINITE);
        elapsed = Now() - start;
    }
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

enum DataSet { kSmall, kLarge, kOther, kDataSets };

struct Programs {
    char tarvendel[MAX_PATH], traced[MAX_PATH], empty[MAX_PATH], emptyTraced[MAX_PATH],
        trace[MAX_PATH];
    // Folders handed to the programs as APPDATA, each with a data file of its
    // own: the runs taken in turns need no file written between them, which
    // would leave the system writing it out behind the next run.
    char appData[kDataSets][MAX_PATH], data[kDataSets][MAX_PATH];
};

void UseData(const Programs& p, DataSet set)
{
    SetEnvironmentVariableA("APPDATA", p.appData[set]);
}

const char kSettingsKey[] = "Software\\Pellix Freeware\\Tarvendel\\Settings";

void SetSetting(const char* name, DWORD type, const void* value, DWORD size)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, type, value, size);
}

// The programs beside this one, the data folders with 100 and 100,000
// reminders and one for the other measurements, and settings as after a
// holiday: the list last shown weeks ago.
void Prepare(Programs* p)
{
    char folder[MAX_PATH];
    GetModuleFileNameA(NULL, folder, sizeof folder);
    *(strrchr(folder, '\\') + 1) = '\0';
    const struct {
        char* path;
        const char* name;
    } files[] = {{p->tarvendel, "Tarvendel.exe"},
                 {p->traced, "TarvendelTraced.exe"},
                 {p->empty, "EmptyProgram.exe"},
                 {p->emptyTraced, "EmptyTraced.exe"},
                 {p->trace, "startup-trace.txt"}};
    for (const auto& file : files) {
        CopyText(file.path, MAX_PATH, folder);
        AppendText(file.path, MAX_PATH, file.name);
    }
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    AppendText(base, sizeof base, "TarvendelBench");
    CreateDirectoryA(base, NULL);
    const char* const sets[kDataSets] = {"\\small", "\\large", "\\other"};
    for (int set = 0; set < kDataSets; ++set) {
        char* data = p->data[set];
        CopyText(p->appData[set], MAX_PATH, base);
        AppendText(p->appData[set], MAX_PATH, sets[set]);
        CreateDirectoryA(p->appData[set], NULL);
        CopyText(data, MAX_PATH, p->appData[set]);
        AppendText(data, MAX_PATH, "\\PellixFreeware");
        CreateDirectoryA(data, NULL);
        AppendText(data, MAX_PATH, "\\Tarvendel");
        CreateDirectoryA(data, NULL);
        AppendText(data, MAX_PATH, "\\Tarvendel.dat");
    }
    WriteDataFile(p->data[kSmall], 100);
    WriteDataFile(p->data[kLarge], 100000);
    DWORD lastShown = LastRunStamp();
    SetSetting("RunDate", REG_DWORD, &lastShown, sizeof lastShown);
    SetSetting("ShownDate", REG_DWORD, &lastShown, sizeof lastShown);
    // Closing a list opened by hand then saves nothing.
    BYTE off = 0;
    SetSetting("AutoRemove", REG_BINARY, &off, 1);
    // A new Wine prefix starts its services in the background for a few
    // seconds; measured before they settle, any program looks slow.
    DWORD code = 0;
    for (double start = Now(); Now() - start < 4.0;)
        RunOnce(p->empty, "", &code);
    // The first start arms the alert task; the measured ones find it armed
    // (both files' next alert is the same).
    UseData(*p, kSmall);
    RunOnce(p->tarvendel, "RUN", &code);
}

// Under Wine a program started right after another one ended often takes
// some 17 ms longer, in the system's own start of the process; runs back to
// back fall into that band or out of it by turns. Started apart, as at a
// login, every run is out of it.
const DWORD kApartMs = 100;

// The starts measured in turns: the empty program, then Tarvendel.exe RUN
// over 100 and 100,000 reminders, the latter as at a login after the last
// one and as at the first one after the file changed (its record of a quiet
// scan forgotten).
enum Start { kEmpty, kSmallRun, kLargeRun, kLargeChanged, kStarts };

void ForgetQuietScan()
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "QuietScan");
}

double StartOf(const Programs& p, int start, DWORD* code)
{
    if (start == kEmpty)
        return RunOnce(p.empty, "", code);
    UseData(p, start == kSmallRun ? kSmall : kLarge);
    if (start == kLargeChanged)
        ForgetQuietScan();
    return RunOnce(p.tarvendel, "RUN", code);
}

void PrintRatios(const char* label, double* const* times, int count, int starts)
{
    double empty = Median(times[kEmpty], count);
    printf("  %5s %9.1f", label, empty * 1e3);
    for (int start = kSmallRun; start < starts; ++start) {
        double own = Median(times[start], count);
        printf(" %9.1f %7.3f", own * 1e3, own / empty);
    }
    printf("\n");
}

// Ratios of medians, round by round, each round 31 runs of each start taken
// in turns, so that a busy moment of the machine weighs on all of them; each
// start follows the last one's end at once, or after pauseMs. Back to back,
// the slow band tends to fall on every other start, so each start is made
// twice and timed the second time: every timed start then falls in the same
// band as the others, whichever that is. The first start after a change is
// timed only apart (its first start would not be the first after a change).
int MeasureRatios(const Programs& p, DWORD pauseMs)
{
    enum { kRounds = 7, kRunsEach = 31, kAll = kRounds * kRunsEach };
    const int starts = pauseMs == 0 ? kLargeChanged : kStarts;
    printf("\nstart to end under Wine, %d rounds of %d runs each, nothing due, ", (int)kRounds,
           (int)kRunsEach);
    if (pauseMs == 0)
        printf("back to back\n");
    else
        printf("%lu ms apart\n", (unsigned long)pauseMs);
    printf("  %5s %9s %9s %7s %9s %7s %9s\n", "", "", "100", "", "100,000", "",
           starts == kStarts ? "100,000," : "");
    printf("  %5s %9s %9s %7s %9s %7s %9s %7s\n", "round", "empty ms", "lines", "ratio",
           "lines", "ratio", starts == kStarts ? "changed" : "", starts == kStarts ? "ratio" : "");
    static double all[kStarts][kAll];
    for (int round = 0; round < kRounds; ++round) {
        double* times[kStarts];
        for (int start = 0; start < kStarts; ++start)
            times[start] = all[start] + round * kRunsEach;
        for (int i = 0; i < kRunsEach; ++i) {
            for (int start = 0; start < starts; ++start) {
                DWORD code = 0;
                if (pauseMs == 0)
                    StartOf(p, start, &code);
                Sleep(pauseMs);
                times[start][i] = StartOf(p, start, &code);
                if (code != 0) {
                    printf("a start ended with %lu, not 0\n", (unsigned long)code);
                    return 0;
                }
            }
        }
        char label[8];
        snprintf(label, sizeof label, "%d", round + 1);
        PrintRatios(label, times, kRunsEach, starts);
    }
    double* times[kStarts];
    for (int start = 0; start < kStarts; ++start)
        times[start] = all[start];
    PrintRatios("all", times, kAll, starts);
    // Sorted by now: the fastest run of each start.
    printf("  %5s %9.1f", "best", all[kEmpty][0] * 1e3);
    for (int start = kSmallRun; start < starts; ++start)
        printf(" %9.1f %7.3f", all[start][0] * 1e3, all[start][0] / all[kEmpty][0]);
    printf("\n");
    return 1;
}

// The steps of one traced program's start, run by run.
struct Breakdown {
    enum { kMaxSteps = 24, kRuns = 31 };
    int steps;
    char names[kMaxSteps][48];
    double deltas[kMaxSteps][kRuns];
};

// Where the time of one silent start goes: the traced program notes each step
// with the performance counter, which runs on for the whole machine, so its
// notes line up with this program's own before the start and after the end.
int TraceRun(const Programs& p, const char* program, int run, Breakdown* out)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    DeleteFileA(p.trace);
    Sleep(kApartMs);
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    DWORD code = 0;
    RunOnce(program, "RUN", &code);
    QueryPerformanceCounter(&after);
    FILE* file = fopen(p.trace, "r");
    if (file == NULL || code != 0) {
        printf("%s wrote no notes (exit code %lu)\n", program, (unsigned long)code);
        return 0;
    }
    long long last = before.QuadPart, counter = 0;
    char name[48];
    int step = 0;
    auto note = [&](const char* stepName, long long at) {
        if (step < Breakdown::kMaxSteps) {
            CopyText(out->names[step], sizeof out->names[step], stepName);
            out->deltas[step][run] = (double)(at - last) / (double)frequency.QuadPart;
            ++step;
        }
        last = at;
    };
    while (fscanf(file, "%lld %47[^\n]", &counter, name) == 2)
        note(name, counter);
    fclose(file);
    note("exit: runtime end, notes written, process gone", after.QuadPart);
    // The first note is the image's, once the loader is done with it.
    CopyText(out->names[0], sizeof out->names[0], "process created, image loaded");
    out->steps = step;
    return 1;
}

// The traced Tarvendel.exe beside the traced empty program, taken in turns
// and apart, step by step: the empty program notes only the loader's end, its
// runtime's and its exit. Each step is its median over the runs.
int MeasureBreakdown(const Programs& p, int lines, int changed)
{
    static Breakdown tarvendel, empty;
    WriteDataFile(p.data[kOther], lines);
    UseData(p, kOther);
    SetEnvironmentVariableA("TARVENDEL_TRACE", p.trace);
    for (int run = 0; run < Breakdown::kRuns; ++run) {
        if (changed)
            ForgetQuietScan();
        if (!TraceRun(p, p.emptyTraced, run, &empty) || !TraceRun(p, p.traced, run, &tarvendel))
            return 0;
    }
    SetEnvironmentVariableA("TARVENDEL_TRACE", NULL);
    printf("\nwhere a silent RUN start of %d lines%s spends its time (traced programs in turns, "
           "%lu ms apart, median of %d runs each)\n",
           lines, changed ? ", the first after a change," : "", (unsigned long)kApartMs,
           (int)Breakdown::kRuns);
    printf("  %-50s %9s %9s %9s\n", "step", "empty", "Tarvendel", "more");
    double emptyTotal = 0, total = 0;
    for (int step = 0; step < tarvendel.steps; ++step) {
        double own = Median(tarvendel.deltas[step], Breakdown::kRuns), yardstick = 0;
        for (int e = 0; e < empty.steps; ++e) {
            if (strcmp(empty.names[e], tarvendel.names[step]) == 0)
                yardstick = Median(empty.deltas[e], Breakdown::kRuns);
        }
        emptyTotal += yardstick;
        total += own;
        printf("  %-50s %9.3f %9.3f %9.3f\n", tarvendel.names[step], yardstick * 1e3, own * 1e3,
               (own - yardstick) * 1e3);
    }
    printf("  %-50s %9.3f %9.3f %9.3f\n", "sum of the medians", emptyTotal * 1e3, total * 1e3,
           (total - emptyTotal) * 1e3);
    return 1;
}

// From CreateProcess to a window whose list has been filled and painted.
int MeasurePaintedList(const Programs& p)
{
    const int runs = 11;
    printf("\nfrom CreateProcess to a painted list, started by hand (median of %d runs)\n", runs);
    for (int lines : {10, 1000, 10000}) {
        WriteDataFile(p.data[kOther], lines);
        UseData(p, kOther);
        double times[runs];
        DWORD code = 0;
        for (int i = 0; i < runs; ++i)
            times[i] = RunOnce(p.tarvendel, "", &code, 1);
        printf("  %6d reminders %8.1f ms\n", lines, Median(times, runs) * 1e3);
    }
    return 1;
}

int MeasureStartup()
{
    Programs p;
    Prepare(&p);
    int ok = MeasureRatios(p, 0) && MeasureRatios(p, kApartMs) && MeasureBreakdown(p, 100, 0) &&
             MeasureBreakdown(p, 100000, 0) && MeasureBreakdown(p, 100000, 1) &&
             MeasurePaintedList(p);
    for (const char* data : p.data)
        DeleteFileA(data);
    DeleteFileA(p.trace);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    int ok = MeasureInProcess();
    if (!(argc > 1 && strcmp(argv[1], "--no-startup") == 0))
        ok = MeasureStartup() && ok;
    return ok ? 0 : 1;
}
