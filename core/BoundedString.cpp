#include "BoundedString.h"

#include <string.h>

int CopyTextN(char* dst, size_t dstSize, const char* src, size_t count)
{
    if (dstSize == 0)
        return 0;
    size_t n = 0;
    while (n < count && src[n] != '\0' && n + 1 < dstSize) {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
    return n == count || src[n] == '\0';
}

int CopyText(char* dst, size_t dstSize, const char* src)
{
    return CopyTextN(dst, dstSize, src, (size_t)-1);
}

int AppendText(char* dst, size_t dstSize, const char* src)
{
    size_t used = strnlen(dst, dstSize);
    if (used >= dstSize)
        return 0;
    return CopyText(dst + used, dstSize - used, src);
}

int FormatUnsigned(char* dst, size_t dstSize, unsigned long value)
{
    char digits[24];
    size_t n = 0;
    do {
        digits[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (dstSize == 0)
        return 0;
    if (n + 1 > dstSize) {
        dst[0] = '\0';
        return 0;
    }
    for (size_t i = 0; i < n; ++i)
        dst[i] = digits[n - 1 - i];
    dst[n] = '\0';
    return 1;
}

int FormatSigned(char* dst, size_t dstSize, long value)
{
    if (value >= 0)
        return FormatUnsigned(dst, dstSize, (unsigned long)value);
    if (dstSize < 2) {
        if (dstSize)
            dst[0] = '\0';
        return 0;
    }
    dst[0] = '-';
    // Negate in unsigned arithmetic so the most negative value does not overflow.
    unsigned long magnitude = 0UL - (unsigned long)value;
    if (!FormatUnsigned(dst + 1, dstSize - 1, magnitude)) {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}

int AppendUnsigned(char* dst, size_t dstSize, unsigned long value)
{
    char number[24];
    FormatUnsigned(number, sizeof number, value);
    return AppendText(dst, dstSize, number);
}

int CopyWide(wchar_t* dst, size_t dstCount, const wchar_t* src)
{
    if (dstCount == 0)
        return 0;
    size_t n = 0;
    while (src[n] != L'\0' && n + 1 < dstCount) {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = L'\0';
    return src[n] == L'\0';
}

int AppendWide(wchar_t* dst, size_t dstCount, const wchar_t* src)
{
    size_t used = 0;
    while (used < dstCount && dst[used] != L'\0')
        ++used;
    if (used >= dstCount)
        return 0;
    return CopyWide(dst + used, dstCount - used, src);
}
