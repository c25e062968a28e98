// The notes of a traced start: kept in a fixed table, written at the end.
#include "core/StartupTrace.h"

#include <windows.h>

#include <stdio.h>

namespace {

struct Note {
    LONGLONG counter;
    const char* step;
};

Note notes[32];
int noteCount;

// Runs once the loader has mapped the image, loaded its DLLs and relocated
// it, before the C runtime starts: the first moment of the program's own.
void NTAPI AfterLoader(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        TraceStartup("image loaded");
}

} // namespace

extern "C" {
#ifdef _MSC_VER
#pragma comment(linker, "/INCLUDE:_tls_used")
#pragma comment(linker, "/INCLUDE:traceTlsCallback")
#pragma section(".CRT$XLB", read)
__declspec(allocate(".CRT$XLB")) PIMAGE_TLS_CALLBACK traceTlsCallback = AfterLoader;
#else
__attribute__((section(".CRT$XLB"), used)) PIMAGE_TLS_CALLBACK traceTlsCallback = AfterLoader;
#endif
}

void TraceStartup(const char* step)
{
    if (noteCount >= (int)(sizeof notes / sizeof notes[0]))
        return;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    notes[noteCount].counter = counter.QuadPart;
    notes[noteCount].step = step;
    ++noteCount;
}

void WriteStartupTrace()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TARVENDEL_TRACE", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    FILE* file = fopen(path, "w");
    if (file == NULL)
        return;
    for (int i = 0; i < noteCount; ++i)
        fprintf(file, "%lld %s\n", notes[i].counter, notes[i].step);
    fclose(file);
}
