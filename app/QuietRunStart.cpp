// A start from the start-up list over a data file that it judged quiet
// before: the text's fingerprint and the first day a reminder falls on are
// kept in the settings, so that the start after, at the next login, unlock
// or wake, need not judge 100,000 lines again.
#include "../core/Application.h"
#include "../core/QuietScan.h"
#include "RegKey.h"

#include <string.h>

extern const char kSettingsRegistryKey[];
static const char kQuietScanValue[] = "QuietScan";

// The stored form, seven 32-bit numbers: the fingerprint's low and high
// halves, the first days judged for one-off and annual dates, the first
// day with a reminder after them, the next alert time and whether alerts
// were looked for.
static const int kStoredNumbers = 7;

static int ReadQuietScan(QuietScan* scan)
{
    DWORD stored[kStoredNumbers];
    RegKey settings;
    if (!settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey) ||
        !settings.ReadExact(kQuietScanValue, stored, sizeof stored))
        return 0;
    scan->fingerprint = ((unsigned long long)stored[1] << 32) | stored[0];
    scan->oneOffFirst = (long)stored[2];
    scan->annualFirst = (long)stored[3];
    scan->nextDay = (long)stored[4];
    scan->nextAlert = stored[5];
    scan->alertsOn = (int)stored[6];
    return 1;
}

static void WriteQuietScan(const QuietScan* scan)
{
    const DWORD stored[kStoredNumbers] = {
        (DWORD)scan->fingerprint,       (DWORD)(scan->fingerprint >> 32),
        (DWORD)scan->oneOffFirst,       (DWORD)scan->annualFirst,
        (DWORD)scan->nextDay,           (DWORD)scan->nextAlert,
        (DWORD)scan->alertsOn};
    RegKey settings;
    if (settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey))
        settings.WriteBinary(kQuietScanValue, stored, sizeof stored);
}

// Below this, judging every line costs less than the record's reading, and
// far less than its writing, which loads the registry's own DLL.
static const int kSmallestRemembered = 65536;

int Application::DecideRunStart()
{
    if (!reminderMode || HeldBackToday() || AlwaysRun || textBufferSize < kSmallestRemembered)
        return ShouldShowWindow();
    const unsigned long long fingerprint = TextFingerprint(textBuffer, (size_t)textBufferSize);
    const MissedSpan& span = MissedDays();
    const long lastDay = LastJudgedDay();
    const AlertMinute now = MinuteOf(&today);
    QuietScan stored;
    memset(&stored, 0, sizeof stored); // compared whole, padding too
    const int haveStored = ReadQuietScan(&stored);
    if (haveStored && QuietScanHolds(&stored, fingerprint, &span, lastDay, now, Alerts)) {
        // The alert found then is still the first after now.
        StartAlertScan(&alertScan, now);
        alertScan.next = stored.nextAlert;
        alertScanned = 1;
        return 0;
    }
    if (ScanForDueReminders())
        return 1;
    // A date that does not read is reported at every start, never passed over.
    if (badDates != 0)
        return 0;
    QuietScan found;
    memset(&found, 0, sizeof found);
    found.fingerprint = fingerprint;
    found.oneOffFirst = span.oneOffFirst;
    found.annualFirst = span.first;
    found.nextDay = quietNextDay;
    found.nextAlert = alertScan.next;
    found.alertsOn = Alerts;
    // Written only when it changed.
    if (!haveStored || memcmp(&found, &stored, sizeof found) != 0)
        WriteQuietScan(&found);
    return 0;
}
