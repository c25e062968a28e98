// Timestamps of the steps of a start, recorded only in a build made to
// measure them (TARVENDEL_STARTUP_TRACE); elsewhere the calls are empty.
#pragma once

#ifdef TARVENDEL_STARTUP_TRACE
// Notes the performance counter with the step that has just ended.
void TraceStartup(const char* step);
// Writes the notes, one "counter step" line each, to the file named by the
// environment variable TARVENDEL_TRACE, if it is set.
void WriteStartupTrace();
#else
inline void TraceStartup(const char*) {}
inline void WriteStartupTrace() {}
#endif
