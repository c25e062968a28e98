// The benchmarks' clock: seconds from the performance counter, which keeps
// counting at the same rate whatever the processor's speed.
#pragma once

#include <windows.h>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}
