#include "CalendarReader.h"

#include "BoundedString.h"

#include <string.h>

const char kBirthdayPrefix[] = "Birthday: ";

namespace {

// Longer content lines (a contact's photo) are read to their end but cut here.
const size_t kLineSize = 4096;
// A text value as kept until it is cut to a reminder's length: room enough
// that a text cut here is still longer than any reminder's.
const size_t kValueSize = 1024;

struct ContentLine {
    char text[kLineSize];
    char name[24];       // upper case, without a vCard group ("item1.")
    const char* params;  // ";KEY=VALUE;..." as written, NUL-terminated
    const char* value;   // NUL-terminated
};

int ToUpper(int c)
{
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

int SameWord(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (ToUpper((unsigned char)*a) != ToUpper((unsigned char)*b))
            return 0;
    return *a == *b;
}

// SameWord on the count bytes at a.
int SameWordN(const char* a, size_t count, const char* b)
{
    size_t i = 0;
    for (; i < count && b[i] != '\0'; ++i)
        if (ToUpper((unsigned char)a[i]) != ToUpper((unsigned char)b[i]))
            return 0;
    return i == count && b[i] == '\0';
}

// Whether the property part of the line so far (before its first colon)
// names quoted-printable, whose soft line break is a '=' at the line's end.
int IsQuotedPrintable(const char* text, size_t length)
{
    static const char kWord[] = "QUOTED-PRINTABLE";
    const size_t wordLength = sizeof kWord - 1;
    for (size_t i = 0; i < length && text[i] != ':'; ++i)
        if (length - i >= wordLength && SameWordN(text + i, wordLength, kWord))
            return 1;
    return 0;
}

// Reads one content line at *cursor: physical lines end at CR, LF or CRLF; a
// line that starts with a blank or TAB continues the one before (that one
// blank dropped), and so does any line after a quoted-printable soft break.
// Splits it into name, parameters and value. Returns 0 at the end of the bytes.
int ReadContentLine(const char** cursor, const char* end, ContentLine* line)
{
    const char* p = *cursor;
    for (;;) {
        if (p >= end) {
            *cursor = p;
            return 0;
        }
        size_t length = 0;
        for (;;) {
            char last = '\0';
            while (p < end && *p != '\r' && *p != '\n') {
                last = *p;
                if (length + 1 < kLineSize)
                    line->text[length++] = *p == '\0' ? ' ' : *p;
                ++p;
            }
            if (p < end && *p == '\r')
                ++p;
            if (p < end && *p == '\n')
                ++p;
            if (p < end && (*p == ' ' || *p == '\t')) {
                ++p;
                continue;
            }
            if (last == '=' && p < end && IsQuotedPrintable(line->text, length)) {
                if (length > 0 && line->text[length - 1] == '=')
                    --length;
                continue;
            }
            break;
        }
        line->text[length] = '\0';
        if (length == 0)
            continue;

        // The name runs to the first ';' or ':'; the parameters to the first
        // ':' outside quotes.
        size_t nameEnd = strcspn(line->text, ";:");
        size_t colon = nameEnd;
        int quoted = 0;
        for (; colon < length; ++colon) {
            if (line->text[colon] == '"')
                quoted = !quoted;
            else if (line->text[colon] == ':' && !quoted)
                break;
        }
        if (colon >= length)
            continue; // no value: nothing this reader takes
        size_t nameStart = 0;
        for (size_t i = 0; i < nameEnd; ++i)
            if (line->text[i] == '.')
                nameStart = i + 1;
        size_t n = 0;
        for (size_t i = nameStart; i < nameEnd && n + 1 < sizeof line->name; ++i)
            line->name[n++] = (char)ToUpper((unsigned char)line->text[i]);
        line->name[n] = '\0';
        line->text[colon] = '\0';
        line->params = line->text + nameEnd;
        line->value = line->text + colon + 1;
        *cursor = p;
        return 1;
    }
}

// Copies the value of parameter key into out; returns 0 when the line has no
// such parameter. vCard 2.1 names an encoding by itself ("QUOTED-PRINTABLE").
int GetParam(const ContentLine* line, const char* key, char* out, size_t outSize)
{
    const char* p = line->params;
    while (*p == ';') {
        ++p;
        const char* pieceEnd = p;
        int quoted = 0;
        for (; *pieceEnd != '\0' && (*pieceEnd != ';' || quoted); ++pieceEnd)
            if (*pieceEnd == '"')
                quoted = !quoted;
        const char* equals = p;
        while (equals < pieceEnd && *equals != '=')
            ++equals;
        const char* value = NULL;
        if (equals < pieceEnd && SameWordN(p, (size_t)(equals - p), key))
            value = equals + 1;
        else if (equals == pieceEnd && SameWord(key, "ENCODING") &&
                 (SameWordN(p, (size_t)(pieceEnd - p), "QUOTED-PRINTABLE") ||
                  SameWordN(p, (size_t)(pieceEnd - p), "BASE64")))
            value = p;
        if (value != NULL) {
            const char* valueEnd = pieceEnd;
            if (value < valueEnd && *value == '"') {
                ++value;
                if (valueEnd > value && valueEnd[-1] == '"')
                    --valueEnd;
            }
            CopyTextN(out, outSize, value, (size_t)(valueEnd - value));
            return 1;
        }
        p = pieceEnd;
    }
    return 0;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = (char)ToUpper((unsigned char)c);
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The line's value as UTF-8 in out: quoted-printable decoded where the line
// says so, and a value in another character set, or one that is no UTF-8
// (a contacts file of an older program), read as Windows-1252.
void DecodeValue(const ContentLine* line, char* out, size_t outSize)
{
    char raw[kLineSize];
    size_t length = 0;
    char encoding[24] = "";
    GetParam(line, "ENCODING", encoding, sizeof encoding);
    if (SameWord(encoding, "QUOTED-PRINTABLE")) {
        for (const char* p = line->value; *p != '\0' && length + 1 < sizeof raw; ++p) {
            int high = p[0] == '=' ? HexValue(p[1]) : -1;
            int low = high >= 0 ? HexValue(p[2]) : -1;
            if (low >= 0) {
                char byte = (char)(high * 16 + low);
                raw[length++] = byte == '\0' ? ' ' : byte;
                p += 2;
            } else {
                raw[length++] = *p;
            }
        }
    } else {
        length = strlen(line->value);
        memcpy(raw, line->value, length);
    }
    raw[length] = '\0';

    char charset[32] = "";
    int utf8 = !GetParam(line, "CHARSET", charset, sizeof charset) || SameWord(charset, "UTF-8") ||
               SameWord(charset, "UTF8");
    if (utf8 && IsValidUtf8(raw, length))
        CopyUtf8Chars(out, outSize, raw, length, (size_t)-1);
    else
        Latin1ToUtf8(out, outSize, raw, length);
}

// Undoes TEXT escapes in place (a line break becomes a blank), turns control
// characters into blanks and drops blanks at both ends.
void UnescapeText(char* text)
{
    char* out = text;
    for (const char* p = text; *p != '\0'; ++p) {
        char c = *p;
        if (c == '\\' && p[1] != '\0') {
            c = *++p;
            if (c == 'n' || c == 'N')
                c = ' ';
        }
        if ((unsigned char)c < 0x20 || c == 0x7F)
            c = ' ';
        *out++ = c;
    }
    *out = '\0';
    while (out > text && out[-1] == ' ')
        *--out = '\0';
    size_t lead = strspn(text, " ");
    memmove(text, text + lead, strlen(text + lead) + 1);
}

// Reads count digits at text; -1 when one is no digit.
int Digits(const char* text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int IsLineEnd(const char* text)
{
    return text[strspn(text, " \t")] == '\0';
}

// An iCalendar DATE (YYYYMMDD) or DATE-TIME (YYYYMMDDTHHMMSS, Z behind it for UTC).
int ParseCalendarDate(const char* text, DateRecord* date, int* hasTime, int* utc)
{
    int year = Digits(text, 4);
    int month = year < 0 ? -1 : Digits(text + 4, 2);
    int day = month < 0 ? -1 : Digits(text + 6, 2);
    if (day < 0)
        return 0;
    memset(date, 0, sizeof *date);
    date->year = (uint16_t)year;
    date->month = (uint16_t)month;
    date->day = (uint16_t)day;
    *hasTime = 0;
    *utc = 0;
    if (text[8] != 'T')
        return IsLineEnd(text + 8);
    int hour = Digits(text + 9, 2);
    int minute = hour < 0 ? -1 : Digits(text + 11, 2);
    int second = minute < 0 ? -1 : Digits(text + 13, 2);
    if (second < 0 || hour > 23 || minute > 59 || second > 60)
        return 0;
    date->hour = (uint16_t)hour;
    date->minute = (uint16_t)minute;
    date->second = (uint16_t)second;
    *hasTime = 1;
    const char* rest = text + 15;
    if (*rest == 'Z') {
        *utc = 1;
        ++rest;
    }
    return IsLineEnd(rest);
}

// A contact's BDAY: YYYY-MM-DD, YYYYMMDD, --MMDD or --MM-DD, a time after a
// T left aside. Only month and day matter to a yearly reminder.
int ParseBirthday(const char* text, int* month, int* day)
{
    const char* p = text + strspn(text, " \t");
    if (p[0] == '-' && p[1] == '-') {
        p += 2;
    } else if (Digits(p, 4) >= 0) {
        p += 4;
        if (*p == '-')
            ++p;
    } else {
        return 0;
    }
    *month = Digits(p, 2);
    if (*month < 0)
        return 0;
    p += 2;
    if (*p == '-')
        ++p;
    *day = Digits(p, 2);
    if (*day < 0)
        return 0;
    p += 2;
    return *p == 'T' || IsLineEnd(p);
}

// Whether an RRULE repeats every year on the start's own day. *leapDay is set
// for the 60th day of the year, 29 February or, in a common year, 1 March.
int IsYearlyOnStartDay(const char* rule, int month, int day, int* leapDay)
{
    *leapDay = 0;
    int yearly = 0;
    const char* p = rule;
    while (*p != '\0') {
        size_t partLength = strcspn(p, ";");
        size_t keyLength = strcspn(p, "=;");
        if (keyLength >= partLength)
            return 0;
        const char* value = p + keyLength + 1;
        size_t valueLength = partLength - keyLength - 1;
        char number[12];
        CopyTextN(number, sizeof number, value, valueLength);
        long n = valueLength > 0 && valueLength < 4 && Digits(value, (int)valueLength) >= 0
                     ? LeadingNumber(number)
                     : -1;
        if (SameWordN(p, keyLength, "FREQ")) {
            if (!SameWordN(value, valueLength, "YEARLY"))
                return 0;
            yearly = 1;
        } else if (SameWordN(p, keyLength, "INTERVAL")) {
            if (n != 1)
                return 0;
        } else if (SameWordN(p, keyLength, "BYMONTH")) {
            if (n != month)
                return 0;
        } else if (SameWordN(p, keyLength, "BYMONTHDAY")) {
            if (n != day)
                return 0;
        } else if (SameWordN(p, keyLength, "BYYEARDAY")) {
            if (n != 60 || !((month == 2 && day == 29) || (month == 3 && day == 1)))
                return 0;
            *leapDay = 1;
        } else if (!SameWordN(p, keyLength, "COUNT") && !SameWordN(p, keyLength, "UNTIL") &&
                   !SameWordN(p, keyLength, "WKST")) {
            return 0;
        }
        p += partLength;
        if (*p == ';')
            ++p;
    }
    return yearly;
}

// What one VEVENT or VCARD gave, up to its END.
struct Component {
    int haveStart;
    char start[40];
    char startType[16]; // DTSTART's VALUE parameter
    char zone[64];      // DTSTART's TZID parameter
    int rules;          // RRULE lines
    char rule[256];
    int changedOccurrence;
    int haveText;
    char text[kValueSize]; // SUMMARY, or the contact's FN
    char name[kValueSize]; // the contact's N, as "Given Additional Family"
};

void StartComponent(Component* c)
{
    c->haveStart = 0;
    c->rules = 0;
    c->changedOccurrence = 0;
    c->haveText = 0;
    c->text[0] = '\0';
    c->name[0] = '\0';
}

// N is Family;Given;Additional;Prefix;Suffix: the name reads Given Additional Family.
void MakeNameFromParts(const char* value, char* out, size_t outSize)
{
    char parts[3][kValueSize];
    const int order[3] = {1, 2, 0};
    for (int k = 0; k < 3; ++k)
        parts[k][0] = '\0';
    int index = 0;
    size_t used = 0;
    for (const char* p = value; *p != '\0' && index < 5; ++p) {
        char c = *p;
        if (c == ';') {
            ++index;
            used = 0;
            continue;
        }
        // An escaped character stays escaped for UnescapeText; only the
        // separators between parts and between names in one part act here.
        char escaped = '\0';
        if (c == '\\' && p[1] != '\0')
            escaped = *++p;
        else if (c == ',')
            c = ' ';
        if (index <= 2 && used + 3 < kValueSize) {
            parts[index][used++] = c;
            if (escaped != '\0')
                parts[index][used++] = escaped;
            parts[index][used] = '\0';
        }
    }
    out[0] = '\0';
    for (int k = 0; k < 3; ++k) {
        char* part = parts[order[k]];
        UnescapeText(part); // only blanks and control characters are left to tidy
        if (part[0] == '\0')
            continue;
        if (out[0] != '\0')
            AppendText(out, outSize, " ");
        AppendText(out, outSize, part);
    }
}

void TakeProperty(const CalendarReader* reader, const ContentLine* line, Component* c)
{
    const char* name = line->name;
    if (reader->kind == kCalendarEvents) {
        if (SameWord(name, "DTSTART") && !c->haveStart) {
            c->haveStart = 1;
            CopyText(c->start, sizeof c->start, line->value);
            c->startType[0] = '\0';
            GetParam(line, "VALUE", c->startType, sizeof c->startType);
            c->zone[0] = '\0';
            GetParam(line, "TZID", c->zone, sizeof c->zone);
        } else if (SameWord(name, "RRULE")) {
            if (c->rules++ == 0)
                CopyText(c->rule, sizeof c->rule, line->value);
        } else if (SameWord(name, "RECURRENCE-ID")) {
            c->changedOccurrence = 1;
        } else if (SameWord(name, "SUMMARY") && !c->haveText) {
            c->haveText = 1;
            DecodeValue(line, c->text, sizeof c->text);
            UnescapeText(c->text);
        }
        return;
    }
    if (SameWord(name, "BDAY") && !c->haveStart) {
        c->haveStart = 1;
        CopyText(c->start, sizeof c->start, line->value);
        c->startType[0] = '\0';
        GetParam(line, "VALUE", c->startType, sizeof c->startType);
    } else if (SameWord(name, "FN") && !c->haveText) {
        c->haveText = 1;
        DecodeValue(line, c->text, sizeof c->text);
        UnescapeText(c->text);
    } else if (SameWord(name, "N") && c->name[0] == '\0') {
        char decoded[kValueSize];
        DecodeValue(line, decoded, sizeof decoded);
        MakeNameFromParts(decoded, c->name, sizeof c->name);
    }
}

// The reminder's text: at most 83 characters, counted when cut. 0 when empty.
int SetText(CalendarReader* reader, CalendarRecord* record, const char* prefix, const char* text)
{
    if (text[0] == '\0') {
        ++reader->counts.noText;
        return 0;
    }
    char joined[kValueSize + 16];
    CopyText(joined, sizeof joined, prefix);
    AppendText(joined, sizeof joined, text);
    if (!CopyUtf8Chars(record->text, sizeof record->text, joined, strlen(joined), kCalendarTextChars)) {
        ++reader->counts.textCut;
        // A cut may end at a blank between words; the data file keeps no blank at the end.
        size_t length = strlen(record->text);
        while (length > 0 && record->text[length - 1] == ' ')
            record->text[--length] = '\0';
    }
    return 1;
}

int FinishEvent(CalendarReader* reader, Component* c, CalendarRecord* record)
{
    CalendarCounts* counts = &reader->counts;
    if (c->changedOccurrence || c->rules > 1) {
        ++counts->otherRepeat;
        return 0;
    }
    DateRecord start;
    int hasTime = 0, utc = 0;
    if (!c->haveStart || !ParseCalendarDate(c->start, &start, &hasTime, &utc) ||
        (hasTime && SameWord(c->startType, "DATE"))) {
        ++counts->noDate;
        return 0;
    }
    if (hasTime && (utc || c->zone[0] != '\0') && reader->toLocal != NULL)
        reader->toLocal(reader->context, utc ? "UTC" : c->zone, &start);

    int leapDay = 0;
    int annual = c->rules == 1;
    if (annual && !IsYearlyOnStartDay(c->rule, start.month, start.day, &leapDay)) {
        ++counts->otherRepeat;
        return 0;
    }
    DateRecord check = start;
    if (annual) {
        if (leapDay) {
            check.month = 2;
            check.day = 29;
        }
        check.year = 2000; // the leap year an annual date is checked in
    }
    if (check.month < 1 || check.month > 12 || check.day < 1 ||
        check.day > DaysInMonth(check.year, check.month) || check.hour > 23 || check.minute > 59) {
        ++counts->noDate;
        return 0;
    }
    if (!annual && (start.year < kFirstAcceptedYear || start.year > kLastValidYear)) {
        ++counts->outsideYears;
        return 0;
    }
    if (!SetText(reader, record, "", c->text))
        return 0;
    record->year = annual ? 0 : check.year;
    record->month = check.month;
    record->day = check.day;
    record->hasTime = (uint16_t)hasTime;
    record->hour = hasTime ? check.hour : 0;
    record->minute = hasTime ? check.minute : 0;
    return 1;
}

int FinishContact(CalendarReader* reader, Component* c, CalendarRecord* record)
{
    int month = 0, day = 0;
    if (!c->haveStart || SameWord(c->startType, "TEXT") || !ParseBirthday(c->start, &month, &day) ||
        month < 1 || month > 12 || day < 1 || day > DaysInMonth(2000, month)) {
        ++reader->counts.noDate;
        return 0;
    }
    if (!SetText(reader, record, kBirthdayPrefix, c->text[0] != '\0' ? c->text : c->name))
        return 0;
    record->year = 0;
    record->month = (uint16_t)month;
    record->day = (uint16_t)day;
    record->hasTime = 0;
    record->hour = 0;
    record->minute = 0;
    return 1;
}

int Finish(CalendarReader* reader, Component* c, CalendarRecord* record)
{
    ++reader->counts.found;
    int made = reader->kind == kCalendarEvents ? FinishEvent(reader, c, record)
                                               : FinishContact(reader, c, record);
    if (made)
        ++reader->counts.read;
    return made;
}

} // namespace

int BeginCalendarRead(CalendarReader* reader, const char* data, size_t size, CalendarZoneHook toLocal,
                      void* context)
{
    memset(reader, 0, sizeof *reader);
    reader->toLocal = toLocal;
    reader->context = context;
    reader->cursor = data;
    reader->end = data;
    if (size > kCalendarMaxFileSize) {
        reader->tooLarge = 1;
        return 0;
    }
    const char* p = data;
    const char* end = data + size;
    if (size >= 3 && memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    static ContentLine first; // 4 KB, kept off the stack like the program's other buffers
    const char* peek = p;
    if (!ReadContentLine(&peek, end, &first) || !SameWord(first.name, "BEGIN"))
        return 0;
    if (SameWord(first.value, "VCALENDAR"))
        reader->kind = kCalendarEvents;
    else if (SameWord(first.value, "VCARD"))
        reader->kind = kCalendarContacts;
    else
        return 0;
    reader->cursor = p;
    reader->end = end;
    return reader->kind;
}

int ReadCalendarRecord(CalendarReader* reader, CalendarRecord* record)
{
    if (reader->kind == kCalendarNeither)
        return 0;
    static ContentLine line;
    static Component component;
    const char* componentName = reader->kind == kCalendarEvents ? "VEVENT" : "VCARD";
    int depth = 0; // 1 inside the component, more inside one nested in it
    for (;;) {
        if (!ReadContentLine(&reader->cursor, reader->end, &line)) {
            // A file cut short still gives its last component.
            if (depth > 0 && Finish(reader, &component, record))
                return 1;
            return 0;
        }
        if (SameWord(line.name, "BEGIN")) {
            if (depth > 0)
                depth += depth < 1000;
            else if (SameWord(line.value, componentName)) {
                StartComponent(&component);
                depth = 1;
            }
        } else if (SameWord(line.name, "END")) {
            if (depth > 1)
                --depth;
            else if (depth == 1) {
                depth = 0;
                if (Finish(reader, &component, record))
                    return 1;
            }
        } else if (depth == 1) {
            TakeProperty(reader, &line, &component);
        }
    }
}
