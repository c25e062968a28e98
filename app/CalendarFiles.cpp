// Calendar and contacts files to and from the table. The files are UTF-8;
// the table's texts are in the system's code page, which may hold fewer
// characters, and in a double-byte code page more than one byte each.
#include "CalendarFiles.h"

#include "../controls/MessageBox.h"
#include "OneWindow.h"
#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/CalendarReader.h"
#include "../core/CalendarWriter.h"
#include "../core/EntryTable.h"
#include "../core/ShowError.h"

#include <string.h>

static int exportAsked;
static int importAsked;
static char askedPath[kPathSize];

int TakeCalendarParameter(const char* token, const char* file)
{
    int* asked = lstrcmpA(token, "/EXPORT") == 0 ? &exportAsked
               : lstrcmpA(token, "/IMPORT") == 0 ? &importAsked
                                                 : NULL;
    if (asked == NULL)
        return 0;
    *asked = 1;
    if (file == NULL || file[0] == '\0')
        return 1;
    CopyText(askedPath, sizeof askedPath, file);
    return 2;
}

int ImportRequested() { return importAsked; }

// ---- The code-page step -------------------------------------------------

// The table's text as UTF-8.
static void ToUtf8(const char* text, char* out, size_t size)
{
    wchar_t wide[sizeof workEntry.text];
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, (int)(sizeof wide / sizeof wide[0]));
    if (n <= 0 || WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, (int)size, NULL, NULL) <= 0)
        out[0] = '\0';
}

// A file's UTF-8 text in the code page, in the 84 bytes of a record's text:
// changed set when a character had no equal there (it shows as '?'), cut
// when the bytes had to be cut at a character to fit.
static void ToCodePage(const char* utf8, char* out, size_t size, int* changed, int* cut)
{
    wchar_t wide[kCalendarTextSize];
    char bytes[kCalendarTextSize * 2];
    *changed = *cut = 0;
    out[0] = '\0';
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, kCalendarTextSize) <= 0)
        return;
    BOOL usedDefault = FALSE;
    // A UTF-8 system code page holds every character and takes neither flag.
    int utf8System = GetACP() == CP_UTF8;
    if (WideCharToMultiByte(CP_ACP, utf8System ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, bytes,
                            (int)sizeof bytes, NULL, utf8System ? NULL : &usedDefault) <= 0)
        return;
    *changed = usedDefault != FALSE;
    size_t end = 0;
    while (bytes[end] != '\0') {
        size_t n = IsDBCSLeadByte((BYTE)bytes[end]) && bytes[end + 1] != '\0' ? 2 : 1;
        if (utf8System)
            for (n = 1; (bytes[end + n] & 0xC0) == 0x80; ++n) {
            }
        if (end + n > size - 1) {
            *cut = 1;
            break;
        }
        end += n;
    }
    CopyTextN(out, size, bytes, end);
}

// ---- Export -------------------------------------------------------------

// Two digits of text at position, -1 when they are not digits.
static int TwoDigitsAt(const char* text)
{
    if (text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return -1;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

// A record of the table as a calendar event; 0 when its date is no date.
static int RecordOfEntry(const ReminderEntry* entry, CalendarRecord* record)
{
    int month = TwoDigitsAt(entry->dateText), day = TwoDigitsAt(entry->dateText + 3);
    int year = TwoDigitsAt(entry->dateText + 6);
    if (month < 0 || day < 0 || year < 0)
        return 0;
    // An annual record's year is only its next occurrence's.
    record->year = (uint16_t)(entry->annual ? 0 : (year < 96 ? 2000 + year : 1900 + year));
    record->month = (uint16_t)month;
    record->day = (uint16_t)day;
    DateRecord time;
    record->hasTime = (uint16_t)(entry->hasTime && entry->timeText[0] != '\0' &&
                                 ParseTime(entry->timeText, &time, 1) && time.timeValid);
    record->hour = record->hasTime ? time.hour : 0;
    record->minute = record->hasTime ? time.minute : 0;
    ToUtf8(entry->text, record->text, sizeof record->text);
    return 1;
}

static int WriteWholeFile(const char* path, const char* data, size_t size)
{
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError("Can't open file", path);
        return 0;
    }
    DWORD written = 0;
    int ok = WriteFile(file, data, (DWORD)size, &written, NULL) && written == size;
    ok = CloseHandle(file) && ok;
    if (!ok) {
        // Half a calendar would make a phone drop the reminders it lacks.
        DeleteFileA(path);
        ShowError("Error writing to file", path);
    }
    return ok;
}

int ExportCalendarFile(const char* path)
{
    int count = theApp.entryCount;
    size_t size = kCalendarFrameSize + (size_t)count * kCalendarEventMaxSize;
    char* buffer = (char*)GlobalAlloc(GMEM_FIXED, size);
    if (buffer == NULL) {
        ShowError("Out of memory", "");
        return 0;
    }
    SYSTEMTIME now;
    GetSystemTime(&now);
    CalendarWriter writer;
    BeginCalendarFile(&writer, buffer, size, (const DateRecord*)&now, &today);
    for (int i = 0; i < count; ++i) {
        const ReminderEntry* entry = &entryTable.records[i];
        CalendarRecord record;
        // Past reminders the closing will drop are gone for the calendar too.
        if (!entry->removed && RecordOfEntry(entry, &record))
            WriteCalendarEvent(&writer, &record);
    }
    int ok = EndCalendarFile(&writer) && WriteWholeFile(path, buffer, writer.used);
    GlobalFree(buffer);
    return ok;
}

int RunCommandLineExport()
{
    // The open window holds the table the reminders would join, unsaved
    // edits perhaps included: the import is the user's to make there.
    if (importAsked && !exportAsked && IsMainWindowOpen()) {
        ShowOpenMainWindow();
        ShowError("Tarvendel is open: import from its list's menu", askedPath);
        return 0;
    }
    if (!exportAsked)
        return -1;
    if (askedPath[0] == '\0') {
        ShowError("A file name must follow", "/EXPORT");
        return 1;
    }
    theApp.LocateDataFolder();
    theApp.MigrateOldDataFile();
    // An empty calendar in place of a data file that cannot be read would
    // empty the phone's as well.
    if (!FileExists(theApp.dataFilePath)) {
        ShowError("Can't open file", theApp.dataFilePath);
        return 1;
    }
    if (!theApp.LoadDataFile() || !theApp.BuildEntryTable())
        return 1;
    return ExportCalendarFile(askedPath) ? 0 : 1;
}

// ---- Time zones ---------------------------------------------------------

// The zone names most calendars write, and the Windows zone of each.
static const struct {
    const char* name;
    const char* windowsName;
} kZones[] = {
    {"Europe/London", "GMT Standard Time"},
    {"Europe/Dublin", "GMT Standard Time"},
    {"Europe/Lisbon", "GMT Standard Time"},
    {"Europe/Berlin", "W. Europe Standard Time"},
    {"Europe/Amsterdam", "W. Europe Standard Time"},
    {"Europe/Rome", "W. Europe Standard Time"},
    {"Europe/Vienna", "W. Europe Standard Time"},
    {"Europe/Zurich", "W. Europe Standard Time"},
    {"Europe/Stockholm", "W. Europe Standard Time"},
    {"Europe/Oslo", "W. Europe Standard Time"},
    {"Europe/Paris", "Romance Standard Time"},
    {"Europe/Brussels", "Romance Standard Time"},
    {"Europe/Madrid", "Romance Standard Time"},
    {"Europe/Copenhagen", "Romance Standard Time"},
    {"Europe/Prague", "Central Europe Standard Time"},
    {"Europe/Budapest", "Central Europe Standard Time"},
    {"Europe/Warsaw", "Central European Standard Time"},
    {"Europe/Athens", "GTB Standard Time"},
    {"Europe/Bucharest", "GTB Standard Time"},
    {"Europe/Helsinki", "FLE Standard Time"},
    {"Europe/Kiev", "FLE Standard Time"},
    {"Europe/Kyiv", "FLE Standard Time"},
    {"Europe/Moscow", "Russian Standard Time"},
    {"Europe/Istanbul", "Turkey Standard Time"},
    {"America/New_York", "Eastern Standard Time"},
    {"America/Toronto", "Eastern Standard Time"},
    {"America/Chicago", "Central Standard Time"},
    {"America/Mexico_City", "Central Standard Time (Mexico)"},
    {"America/Denver", "Mountain Standard Time"},
    {"America/Phoenix", "US Mountain Standard Time"},
    {"America/Los_Angeles", "Pacific Standard Time"},
    {"America/Vancouver", "Pacific Standard Time"},
    {"America/Anchorage", "Alaskan Standard Time"},
    {"America/Halifax", "Atlantic Standard Time"},
    {"America/Sao_Paulo", "E. South America Standard Time"},
    {"America/Argentina/Buenos_Aires", "Argentina Standard Time"},
    {"Pacific/Honolulu", "Hawaiian Standard Time"},
    {"Pacific/Auckland", "New Zealand Standard Time"},
    {"Asia/Tokyo", "Tokyo Standard Time"},
    {"Asia/Seoul", "Korea Standard Time"},
    {"Asia/Shanghai", "China Standard Time"},
    {"Asia/Hong_Kong", "China Standard Time"},
    {"Asia/Singapore", "Singapore Standard Time"},
    {"Asia/Kolkata", "India Standard Time"},
    {"Asia/Calcutta", "India Standard Time"},
    {"Asia/Dubai", "Arabian Standard Time"},
    {"Asia/Jerusalem", "Israel Standard Time"},
    {"Australia/Sydney", "AUS Eastern Standard Time"},
    {"Australia/Melbourne", "AUS Eastern Standard Time"},
    {"Australia/Brisbane", "E. Australia Standard Time"},
    {"Australia/Adelaide", "Cen. Australia Standard Time"},
    {"Australia/Perth", "W. Australia Standard Time"},
    {"Africa/Johannesburg", "South Africa Standard Time"},
    {"Africa/Cairo", "Egypt Standard Time"},
    {"Etc/UTC", "UTC"},
    {"Etc/GMT", "UTC"},
    {"GMT", "UTC"},
};

// The Windows zone a TZID names: a known zone name, also behind a prefix
// some calendars add ("/mozilla.org/20050126_1/Europe/Berlin"), else the
// TZID itself, which Windows calendars write as Windows names.
static const char* WindowsZoneName(const char* zone)
{
    size_t length = strlen(zone);
    for (const auto& known : kZones) {
        size_t n = strlen(known.name);
        if (n <= length && lstrcmpiA(zone + length - n, known.name) == 0 &&
            (n == length || zone[length - n - 1] == '/'))
            return known.windowsName;
    }
    return zone;
}

// The zone's rules as the system's list of zones holds them.
static int ZoneInformation(const char* windowsName, TIME_ZONE_INFORMATION* zone)
{
    char keyName[kPathSize];
    CopyText(keyName, sizeof keyName, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\");
    if (strchr(windowsName, '\\') != NULL || !AppendText(keyName, sizeof keyName, windowsName))
        return 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    struct {
        LONG bias, standardBias, daylightBias;
        SYSTEMTIME standardDate, daylightDate;
    } rules;
    DWORD type = 0, size = sizeof rules;
    LONG result = RegQueryValueExA(key, "TZI", NULL, &type, (BYTE*)&rules, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_BINARY || size != sizeof rules)
        return 0;
    ZeroMemory(zone, sizeof *zone);
    zone->Bias = rules.bias;
    zone->StandardBias = rules.standardBias;
    zone->DaylightBias = rules.daylightBias;
    zone->StandardDate = rules.standardDate;
    zone->DaylightDate = rules.daylightDate;
    return 1;
}

// A zone the system does not know keeps the time as written: right for
// most, since a calendar's own zone is mostly the user's.
static int ZoneToLocal(void*, const char* zone, DateRecord* time)
{
    SYSTEMTIME written = {time->year, time->month, 0, time->day, time->hour, time->minute, 0, 0};
    SYSTEMTIME utc = written, local;
    const char* windowsName = lstrcmpA(zone, "UTC") == 0 ? "UTC" : WindowsZoneName(zone);
    if (lstrcmpA(windowsName, "UTC") != 0) {
        TIME_ZONE_INFORMATION rules;
        if (!ZoneInformation(windowsName, &rules) ||
            !TzSpecificLocalTimeToSystemTime(&rules, &written, &utc))
            return 0;
    }
    if (!SystemTimeToTzSpecificLocalTime(NULL, &utc, &local))
        return 0;
    time->year = local.wYear;
    time->month = local.wMonth;
    time->day = local.wDay;
    time->hour = local.wHour;
    time->minute = local.wMinute;
    return 1;
}

// ---- Import -------------------------------------------------------------

// A table record for a file's reminder, placed on the calendar as one read
// from the data file is; 0 when its text cannot be held at all.
static int MakeEntry(const CalendarRecord* record, ReminderEntry* entry, CalendarImportCounts* counts)
{
    ZeroMemory(entry, sizeof *entry);
    int changed = 0, cut = 0;
    ToCodePage(record->text, entry->text, sizeof entry->text, &changed, &cut);
    if (entry->text[0] == '\0') {
        ++counts->noText;
        return 0;
    }
    counts->textChanged += changed;
    counts->textCut += cut;
    DateRecord work;
    ZeroMemory(&work, sizeof work);
    work.year = record->year;
    work.month = record->month;
    work.day = record->day;
    // A record without a time holds the data file's default, as one loaded does.
    work.hour = record->hasTime ? record->hour : 6;
    work.minute = record->hasTime ? record->minute : 30;
    work.timeValid = 1;
    entry->hasTime = record->hasTime ? 1 : 0;
    FormatTime12(&work, entry->timeText, sizeof entry->timeText);
    entry->annual = ResolveAnnualYear(&work, &today);
    entry->isToday = IsToday(&work, &today);
    entry->dayOfWeek = (uint32_t)DayOfWeek(work.year, work.month, work.day);
    FormatDate(&work, entry->dateText, sizeof entry->dateText);
    MakeSortKey(&work, entry->sortKey, sizeof entry->sortKey);
    return 1;
}

// Same date, time and text. Annual records on one day have one next
// occurrence, so the sort key stands for the date of both kinds.
static int IsAlreadyThere(const ReminderEntry* entry, int count)
{
    for (int i = 0; i < count; ++i) {
        const ReminderEntry* other = &entryTable.records[i];
        if (other->sortKey[7] == entry->sortKey[7] && strcmp(other->sortKey, entry->sortKey) == 0 &&
            other->annual == entry->annual && other->hasTime == entry->hasTime &&
            (!entry->hasTime || strcmp(other->timeText, entry->timeText) == 0) &&
            strcmp(other->text, entry->text) == 0)
            return 1;
    }
    return 0;
}

// The whole file in a new block; 0 after its message.
static char* ReadImportFile(const char* path, DWORD* size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError("Can't open file", path);
        return NULL;
    }
    DWORD high = 0;
    *size = GetFileSize(file, &high);
    if (*size == INVALID_FILE_SIZE || high != 0 || *size > kCalendarMaxFileSize) {
        CloseHandle(file);
        ShowError("Too large for a calendar or contacts file", path);
        return NULL;
    }
    char* data = (char*)GlobalAlloc(GMEM_FIXED, *size + 1);
    DWORD read = 0;
    int ok = data != NULL && ReadFile(file, data, *size, &read, NULL) && read == *size;
    CloseHandle(file);
    if (!ok) {
        if (data != NULL)
            GlobalFree(data);
        ShowError(data == NULL ? "Out of memory" : "Can't open file", data == NULL ? "" : path);
        return NULL;
    }
    return data;
}

static void AppendCount(char* text, size_t size, const char* label, int count, int always)
{
    if (count == 0 && !always)
        return;
    AppendText(text, size, label);
    AppendUnsigned(text, size, (unsigned long)count);
    AppendText(text, size, "\n");
}

void DescribeImport(const char* path, const CalendarImportCounts* counts, char* text, size_t size)
{
    CopyText(text, size, counts->added == 0 ? "Nothing was imported from\n" : "Imported from\n");
    AppendText(text, size, path);
    AppendText(text, size, "\n\n");
    AppendCount(text, size, "Added: ", counts->added, 1);
    AppendCount(text, size, "Already there: ", counts->alreadyThere, 1);
    int skipped = counts->noDate + counts->otherRepeat + counts->outsideYears + counts->noText;
    AppendCount(text, size, "Skipped: ", skipped, 1);
    AppendCount(text, size, "   without a date: ", counts->noDate, 0);
    AppendCount(text, size, "   repeating other than yearly: ", counts->otherRepeat, 0);
    AppendCount(text, size, "   one-off outside 1998 to 2050: ", counts->outsideYears, 0);
    AppendCount(text, size, "   without a text: ", counts->noText, 0);
    AppendCount(text, size, "Texts changed (characters this system cannot show): ",
                counts->textChanged, 0);
    AppendCount(text, size, "Texts cut to 83 characters: ", counts->textCut, 0);
    if (counts->added > 0)
        AppendText(text, size, "\nNothing is saved until you save.");
}

int ImportCalendarFile(HWND owner, const char* path, CalendarImportCounts* counts)
{
    ZeroMemory(counts, sizeof *counts);
    DWORD size = 0;
    char* data = ReadImportFile(path, &size);
    if (data == NULL)
        return 0;
    CalendarReader reader;
    if (!BeginCalendarRead(&reader, data, size, ZoneToLocal, NULL)) {
        GlobalFree(data);
        ShowError("Neither a calendar nor a contacts file", path);
        return 0;
    }
    int before = theApp.entryCount;
    int full = 0;
    CalendarRecord record;
    ReminderEntry entry;
    while (!full && ReadCalendarRecord(&reader, &record)) {
        if (!MakeEntry(&record, &entry, counts))
            continue;
        // Against the file's own earlier reminders too: a calendar may hold one twice.
        if (IsAlreadyThere(&entry, theApp.entryCount)) {
            ++counts->alreadyThere;
            continue;
        }
        entryTable.records[theApp.entryCount++] = entry;
        ++counts->added;
        if (theApp.entryCount == entryTable.capacity) {
            entryTable.GrowTable();
            full = theApp.entryCount == entryTable.capacity;
        }
    }
    GlobalFree(data);
    if (full) {
        // All or nothing: half a file would leave the user to find which half.
        ZeroMemory(&entryTable.records[before],
                   (size_t)(theApp.entryCount - before) * sizeof(ReminderEntry));
        theApp.entryCount = before;
        entryTable.count = before;
        ShowError("Out of memory", "");
        return 0;
    }
    counts->noDate = reader.counts.noDate;
    counts->otherRepeat = reader.counts.otherRepeat;
    counts->outsideYears = reader.counts.outsideYears;
    counts->noText += reader.counts.noText;
    counts->textCut += reader.counts.textCut;
    entryTable.count = theApp.entryCount;
    if (counts->added > 0) {
        theApp.modified = 1;
        // What was added is seen only in the full list.
        theApp.reminderMode = 0;
        theApp.RefreshList();
    }
    char text[1024];
    DescribeImport(path, counts, text, sizeof text);
    messageBox.Show(owner, text, "Tarvendel", MB_OK | (counts->added ? MB_ICONINFORMATION : MB_ICONEXCLAMATION),
                    NULL, 0, RGB(192, 192, 192), RGB(128, 128, 128));
    return counts->added > 0;
}

void RunCommandLineImport()
{
    if (!importAsked)
        return;
    if (askedPath[0] == '\0') {
        ShowError("A file name must follow", "/IMPORT");
        return;
    }
    CalendarImportCounts counts;
    ImportCalendarFile(theApp.window, askedPath, &counts);
}
