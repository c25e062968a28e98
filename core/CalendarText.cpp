#include "CalendarRecord.h"

// Bytes a character takes by its lead byte; 0 for a byte that cannot lead.
static size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Length of the well-formed character at text, 0 when there is none.
static size_t CharacterAt(const unsigned char* text, size_t available)
{
    size_t n = SequenceLength(text[0]);
    if (n == 0 || n > available)
        return 0;
    for (size_t i = 1; i < n; ++i)
        if ((text[i] & 0xC0) != 0x80)
            return 0;
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    if ((text[0] == 0xE0 && text[1] < 0xA0) || (text[0] == 0xED && text[1] > 0x9F) ||
        (text[0] == 0xF0 && text[1] < 0x90) || (text[0] == 0xF4 && text[1] > 0x8F))
        return 0;
    return n;
}

int IsValidUtf8(const char* text, size_t length)
{
    const unsigned char* p = (const unsigned char*)text;
    size_t i = 0;
    while (i < length) {
        size_t n = CharacterAt(p + i, length - i);
        if (n == 0)
            return 0;
        i += n;
    }
    return 1;
}

int CopyUtf8Chars(char* dst, size_t dstSize, const char* src, size_t length, size_t maxChars)
{
    if (dstSize == 0)
        return 0;
    const unsigned char* p = (const unsigned char*)src;
    size_t in = 0, out = 0, chars = 0;
    while (in < length && p[in] != 0) {
        size_t n = CharacterAt(p + in, length - in);
        if (n == 0)
            n = 1; // a stray byte goes alone, so the copy still ends
        if (chars == maxChars || out + n + 1 > dstSize)
            break;
        for (size_t i = 0; i < n; ++i)
            dst[out++] = src[in++];
        ++chars;
    }
    dst[out] = '\0';
    return in == length || p[in] == 0;
}

// Windows-1252 at 0x80..0x9F; 0 where it has no character (U+FFFD then).
static const uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Latin1ToUtf8(char* dst, size_t dstSize, const char* src, size_t length)
{
    if (dstSize == 0)
        return 0;
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        unsigned c = (unsigned char)src[i];
        if (c >= 0x80 && c <= 0x9F)
            c = kHighControls[c - 0x80] ? kHighControls[c - 0x80] : 0xFFFD;
        char bytes[3];
        size_t n;
        if (c < 0x80) {
            bytes[0] = (char)c;
            n = 1;
        } else if (c < 0x800) {
            bytes[0] = (char)(0xC0 | (c >> 6));
            bytes[1] = (char)(0x80 | (c & 0x3F));
            n = 2;
        } else {
            bytes[0] = (char)(0xE0 | (c >> 12));
            bytes[1] = (char)(0x80 | ((c >> 6) & 0x3F));
            bytes[2] = (char)(0x80 | (c & 0x3F));
            n = 3;
        }
        if (out + n + 1 > dstSize) {
            dst[out] = '\0';
            return 0;
        }
        for (size_t k = 0; k < n; ++k)
            dst[out++] = bytes[k];
    }
    dst[out] = '\0';
    return 1;
}
