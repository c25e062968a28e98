#include "EntryReader.h"

#include "DateTime.h"

#include <stdint.h>
#include <string.h>

// Character classes by table: the run decision reads every byte of a file that
// may hold a hundred thousand lines at every login.
enum {
    kDigit = 1,
    kDatePart = 2,
    kBlank = 8,
    kLineEnd = 16,
    kEndOfText = 32,
};

struct CharClasses {
    unsigned char of[256];
    CharClasses() : of()
    {
        for (int c = '0'; c <= '9'; ++c)
            of[c] = (unsigned char)(kDigit | kDatePart);
        of['/'] = of['-'] = (unsigned char)kDatePart;
        of[' '] = of['\t'] = (unsigned char)kBlank;
        of['\r'] = of['\n'] = (unsigned char)kLineEnd;
        of['\0'] = (unsigned char)(kLineEnd | kEndOfText);
    }
};
static const CharClasses classes;

static inline int Is(char c, int mask) { return classes.of[(unsigned char)c] & mask; }

// Every line end is at most '\r', so most text bytes are passed with one compare.
static inline int EndsLine(char c) { return (unsigned char)c <= '\r' && Is(c, kLineEnd); }

// Copies the run of characters of the class, at most size-1 of them; the rest
// of the run is passed over so it cannot spill into the next field.
static const char* TakeRun(const char* p, char* out, size_t size, int mask)
{
    size_t n = 0;
    for (; Is(*p, mask); ++p) {
        if (n + 1 < size)
            out[n++] = *p;
    }
    out[n] = '\0';
    return p;
}

static inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c; }

// A 12-hour mark at p: AM, PM, A or P in either case, as a word of its own.
// Returns its letter (A or P) and sets *after past it; 0 when there is none.
static char TakeMark(const char* p, const char** after, int* withM)
{
    char letter = UpperAscii(*p);
    if (letter != 'A' && letter != 'P')
        return 0;
    ++p;
    *withM = UpperAscii(*p) == 'M';
    if (*withM)
        ++p;
    if (!Is(*p, kBlank) && !EndsLine(*p))
        return 0;
    *after = p;
    return letter;
}

int BeginsWithTimeMark(const char* text)
{
    const char* after;
    int withM;
    return TakeMark(text, &after, &withM) != 0;
}

// Returns the position after the time token. A time is read only where one is
// written: a digit begins it and a ':' lies in it. Hand-typed files put a TAB
// before texts such as "Paul's birthday" or "3 Kings", whose first letter or
// number must not be taken for a time. A time written as the list shows it
// ("2:30 PM") keeps its mark, with or without one blank before it; anything
// else after the digits ("9:00Parade") begins the text.
static const char* TakeTime(const char* p, char* time)
{
    time[0] = '\0';
    if (*p != '\t')
        return p;
    while (Is(*p, kBlank))
        ++p;
    if (!Is(*p, kDigit))
        return p;

    const char* start = p;
    int hasColon = 0;
    size_t n = 0;
    for (; Is(*p, kDigit) || *p == ':'; ++p) {
        hasColon |= *p == ':';
        if (n + 1 < kTimeTokenSize)
            time[n++] = *p;
    }
    time[n] = '\0';
    if (!hasColon) {
        time[0] = '\0';
        return start;
    }
    const char* markAt = Is(*p, kBlank) ? p + 1 : p;
    const char* after = p;
    int withM = 0;
    char mark = TakeMark(markAt, &after, &withM);
    if (mark != 0) {
        // A cut token keeps no mark: it would be read as another time.
        if ((size_t)(p - start) == n && n + 2 < kTimeTokenSize) {
            time[n++] = mark;
            if (withM)
                time[n++] = 'M';
            time[n] = '\0';
        }
        p = after;
    }
    return p;
}

// Index of the lowest set bit of a non-zero word (a de Bruijn sequence picks
// it out; no compiler built-in needed).
static int LowestBit(uint64_t word)
{
    static const unsigned char position[64] = {
        0,  1,  2,  53, 3,  7,  54, 27, 4,  38, 41, 8,  34, 55, 48, 28,
        62, 5,  39, 46, 44, 42, 22, 9,  24, 35, 59, 56, 49, 18, 29, 11,
        63, 52, 6,  26, 37, 40, 33, 47, 61, 45, 43, 21, 23, 58, 17, 10,
        51, 25, 36, 32, 60, 20, 57, 16, 50, 31, 19, 15, 30, 14, 13, 12};
    return position[((word & (0 - word)) * 0x022FDD63CC95386DULL) >> 58];
}

// Passes over a text to its line end. Where a whole word of the buffer lies
// ahead, eight bytes are tested at once for one below 14 (the line ends are
// 0, 10 and 13); the lowest such byte is exact, so the scan goes on after it
// when it is only a TAB or another control character.
static const char* SkipText(const char* p, const char* end)
{
    const uint16_t one = 1;
    unsigned char firstByte;
    memcpy(&firstByte, &one, 1);
    if (firstByte != 1)
        end = p; // not little-endian: byte by byte
    const uint64_t ones = 0x0101010101010101ULL;
    const uint64_t highBits = 0x8080808080808080ULL;
    while (end - p >= 8) {
        uint64_t word;
        memcpy(&word, p, sizeof word);
        uint64_t low = (word - ones * 14) & ~word & highBits;
        if (low == 0) {
            p += 8;
            continue;
        }
        // Bytes in memory order are the word's bytes from the low end.
        p += LowestBit(low) / 8;
        if (EndsLine(*p))
            return p;
        ++p;
    }
    while (!EndsLine(*p))
        ++p;
    return p;
}

void EndLinesAtNuls(char* text, size_t size)
{
    // Eight bytes are tested at once for a zero among them: the system's
    // memchr took a millisecond over a file of 100,000 reminders, at every
    // login.
    const uint64_t ones = 0x0101010101010101ULL;
    const uint64_t highBits = 0x8080808080808080ULL;
    char* p = text;
    char* end = text + size;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        memcpy(&word, p, sizeof word);
        if (((word - ones) & ~word & highBits) != 0) {
            for (int i = 0; i < 8; ++i) {
                if (p[i] == '\0')
                    p[i] = '\n';
            }
        }
    }
    for (; p < end; ++p) {
        if (*p == '\0')
            *p = '\n';
    }
}

int ReadEntryLine(const char** cursor, const char* end, char* date, char* time, char* text)
{
    const char* p = *cursor;
    for (;;) {
        while (!Is(*p, kDigit | kEndOfText))
            ++p;
        if (*p == '\0') {
            *cursor = p;
            return 0;
        }
        p = TakeRun(p, date, kDateTokenSize, kDatePart);
        p = TakeTime(p, time);
        while (Is(*p, kBlank))
            ++p;

        const char* textStart = p;
        if (text != NULL) {
            size_t n = 0;
            for (; !EndsLine(*p); ++p) {
                if (n + 1 < kTextTokenSize)
                    text[n++] = *p;
            }
            text[n] = '\0';
        } else {
            p = SkipText(p, end);
        }
        *cursor = p;
        // A date without a text is skipped, not taken for the end: the
        // reminders after it would otherwise vanish at the next save.
        if (p != textStart)
            return 1;
    }
}

int ParseFileTime(const char* token, DateRecord* target)
{
    size_t length = 0;
    while (token[length] != '\0')
        ++length;
    size_t markAt = length;
    if (length >= 2 && token[length - 1] == 'M' &&
        (token[length - 2] == 'A' || token[length - 2] == 'P'))
        markAt = length - 2;
    else if (length >= 1 && (token[length - 1] == 'A' || token[length - 1] == 'P'))
        markAt = length - 1;
    if (markAt == length)
        return ParseTime(token, target, 0);

    // "2:30PM" becomes "2:30 P", the form the 12-hour reading looks for.
    char spaced[kTimeTokenSize + 2];
    size_t n = 0;
    for (; n < markAt && n < kTimeTokenSize - 1; ++n)
        spaced[n] = token[n];
    spaced[n++] = ' ';
    spaced[n++] = token[markAt];
    spaced[n] = '\0';
    return ParseTime(spaced, target, 1);
}
