#include "EntryReader.h"

#include "DateTime.h"

static inline int IsDigit(char c) { return c >= '0' && c <= '9'; }
static inline int IsDateChar(char c) { return IsDigit(c) || c == '/' || c == '-'; }
static inline int IsTimeChar(char c) { return IsDigit(c) || c == ':' || c == 'A' || c == 'P'; }
static inline int IsBlank(char c) { return c == ' ' || c == '\t'; }
static inline int EndsLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// Copies the run of characters accepted by isPart, at most size-1 of them;
// the rest of the run is passed over so it cannot spill into the next field.
template <typename Predicate>
static const char* TakeRun(const char* p, char* out, size_t size, Predicate isPart)
{
    size_t n = 0;
    for (; isPart(*p); ++p) {
        if (n + 1 < size)
            out[n++] = *p;
    }
    out[n] = '\0';
    return p;
}

// Returns the position after the time token. A time is read only where one is
// written: a digit begins it and a ':' lies in it. Hand-typed files put a TAB
// before texts such as "Paul's birthday" or "3 Kings", whose first letter or
// number must not be taken for a time.
static const char* TakeTime(const char* p, char* time)
{
    time[0] = '\0';
    if (*p != '\t')
        return p;
    while (IsBlank(*p))
        ++p;
    if (!IsDigit(*p))
        return p;
    const char* end = p;
    int hasColon = 0;
    for (; IsTimeChar(*end); ++end)
        hasColon |= *end == ':';
    if (!hasColon)
        return p;

    const char* start = p;
    p = TakeRun(p, time, kTimeTokenSize, IsTimeChar);
    char last = p[-1];
    if ((last == 'A' || last == 'P') && *p == 'M') {
        size_t n = (size_t)(p - start);
        if (n + 1 < kTimeTokenSize) {
            time[n] = 'M';
            time[n + 1] = '\0';
        }
        ++p;
    }
    return p;
}

int ReadEntryLine(const char** cursor, char* date, char* time, char* text)
{
    const char* p = *cursor;
    for (;;) {
        while (*p != '\0' && !IsDigit(*p))
            ++p;
        if (*p == '\0') {
            *cursor = p;
            return 0;
        }
        p = TakeRun(p, date, kDateTokenSize, IsDateChar);
        p = TakeTime(p, time);
        while (IsBlank(*p))
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
            while (!EndsLine(*p))
                ++p;
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
