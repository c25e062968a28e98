// A reminder as calendar and contacts files carry it, and the UTF-8 handling
// both directions share. Those files are UTF-8; the step to and from the
// system's code page belongs to the caller, so this stays free of <windows.h>.
#pragma once

#include <stddef.h>
#include <stdint.h>

// A reminder's text holds at most 83 characters; in UTF-8 each may take four bytes.
const size_t kCalendarTextChars = 83;
const size_t kCalendarTextSize = kCalendarTextChars * 4 + 1;

struct CalendarRecord {
    uint16_t year; // 0 = every year (an annual reminder)
    uint16_t month;
    uint16_t day;
    uint16_t hasTime;
    uint16_t hour;
    uint16_t minute;
    char text[kCalendarTextSize]; // UTF-8, NUL-terminated
};

// Whether the length bytes at text are well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF).
int IsValidUtf8(const char* text, size_t length);

// Copies at most maxChars characters of the UTF-8 in src (length bytes, or up
// to a NUL) into dst (dstSize bytes, NUL included), never splitting a
// character. Returns 0 when something was left out.
int CopyUtf8Chars(char* dst, size_t dstSize, const char* src, size_t length, size_t maxChars);

// Writes the length bytes at src, read as Windows-1252 (ISO-8859-1 beside the
// printable characters that one has at 0x80..0x9F), into dst as UTF-8; cut
// at a character when dst is full. Returns 0 when cut.
int Latin1ToUtf8(char* dst, size_t dstSize, const char* src, size_t length);
