// Bounded string helpers: every copy into a fixed array goes through these,
// so a long token, path or text is cut to fit and never written past the end.
#pragma once

#include <stddef.h>

// Copies src into dst (capacity dstSize, NUL included); returns 0 when src was cut.
int CopyText(char* dst, size_t dstSize, const char* src);

// Copies at most count bytes of src (stopping early at a NUL); returns 0 when cut.
int CopyTextN(char* dst, size_t dstSize, const char* src, size_t count);

// Appends src to the string already in dst; returns 0 when src was cut.
int AppendText(char* dst, size_t dstSize, const char* src);

// Writes value in decimal; returns 0 when it did not fit (dst then holds "").
int FormatUnsigned(char* dst, size_t dstSize, unsigned long value);
int FormatSigned(char* dst, size_t dstSize, long value);

// Appends value in decimal; returns 0 when it was cut.
int AppendUnsigned(char* dst, size_t dstSize, unsigned long value);

// The same for UTF-16 text, which the program uses only where a path must
// survive outside the system's code page (the start-up entry and task).
// Sizes count wchar_t elements.
int CopyWide(wchar_t* dst, size_t dstCount, const wchar_t* src);
int AppendWide(wchar_t* dst, size_t dstCount, const wchar_t* src);
