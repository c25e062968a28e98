// Keeping the alert task at the next timed reminder: its time in the
// settings, the task moved only when that time changes.
#include "../core/Application.h"
#include "../core/EntryReader.h"
#include "../core/EntryTable.h"
#include "AlertTask.h"
#include "RegKey.h"
#include "StartupEntry.h"

extern const char kSettingsRegistryKey[];

// The snooze choices of the alert window, in minutes; the last is "tomorrow
// at the same time".
const int kSnoozeMinutes[kSnoozeChoices] = {5, 10, 15, 30, 60, 24 * 60};

static AlertMinute ReadMinute(RegKey* settings, const char* name)
{
    DWORD number = 0;
    settings->ReadNumber(name, &number, 0);
    return number;
}

void Application::LoadAlertSettings(RegKey* settings)
{
    if (settings == NULL) {
        Alerts = 1;
        AlertArmed = 0;
        SnoozeChoice = 1;
        alert.shown = alert.snoozeUntil = alert.snoozeFrom = alert.snoozeTo = 0;
        alert.on = Alerts;
        alertDetailsRead = 1;
        return;
    }
    LoadAlertArming(settings);
    LoadAlertDetails(settings);
}

void Application::LoadAlertArming(RegKey* settings)
{
    settings->ReadFlag("Alerts", &Alerts, 1);
    alert.on = Alerts;
    AlertArmed = ReadMinute(settings, "AlertArmed");
    alert.snoozeUntil = ReadMinute(settings, "SnoozeUntil");
    alertDetailsRead = 0;
}

void Application::LoadAlertDetails(RegKey* settings)
{
    alert.shown = ReadMinute(settings, "AlertShown");
    alert.snoozeFrom = ReadMinute(settings, "SnoozeFrom");
    alert.snoozeTo = ReadMinute(settings, "SnoozeTo");
    DWORD choice = 1;
    settings->ReadNumber("SnoozeChoice", &choice, 1);
    SnoozeChoice = choice < (DWORD)kSnoozeChoices ? (int)choice : 1;
    alertDetailsRead = 1;
}

void Application::ReadAlertDetails()
{
    if (alertDetailsRead)
        return;
    RegKey settings;
    if (settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey))
        LoadAlertDetails(&settings);
    alertDetailsRead = 1;
}

int Application::SaveAlertState()
{
    // Written back together: none may go back to a default it never had.
    ReadAlertDetails();
    RegKey settings;
    if (!settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey))
        return 0;
    return settings.WriteNumber("AlertArmed", AlertArmed) &&
           settings.WriteNumber("AlertShown", alert.shown) &&
           settings.WriteNumber("SnoozeUntil", alert.snoozeUntil) &&
           settings.WriteNumber("SnoozeFrom", alert.snoozeFrom) &&
           settings.WriteNumber("SnoozeTo", alert.snoozeTo) &&
           settings.WriteNumber("SnoozeChoice", (DWORD)SnoozeChoice);
}

int Application::SaveAlertSwitch()
{
    RegKey settings;
    return settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey) &&
           settings.WriteFlag("Alerts", Alerts);
}

void Application::ScanRestForAlerts()
{
    char date[kDateTokenSize];
    char time[kTimeTokenSize];
    DateRecord parsed;
    // Silent: a date that does not read has been named by the run decision
    // already, or is named by the list.
    while (ReadEntryLine(date, time, NULL)) {
        if (time[0] != '\0' && ParseDate(date, &parsed))
            NoteTimedReminder(&alertScan, &parsed, time);
    }
}

void Application::FollowScannedAlert(int windowFollows)
{
    // A start that opens the window reads the whole file anyway; one that
    // ends unseen moves the task only from a scan it made.
    if (!alertScanned && windowFollows && Alerts) {
        StartAlertScan(&alertScan, MinuteOf(&today));
        parseCursor = textBuffer;
        ScanRestForAlerts();
        alertScanned = 1;
    }
    if (alertScanned || !Alerts)
        KeepAlertArmed(alertScanned ? NextAlertTime(&alertScan, &alert) : 0);
}

int Application::KeepAlertArmed(AlertMinute next)
{
    alertError = 0;
    if (next == AlertArmed)
        return 1;
    long error = 0;
    int done = next != 0 ? RegisterAlertTask(next, &error) : DeleteAlertTask(&error);
    if (!done) {
        alertError = error;
        return 0;
    }
    AlertArmed = next;
    ReadAlertDetails();
    // Alerts begin now: what fell due before they were armed was seen or
    // missed without them.
    if (alert.shown == 0)
        alert.shown = MinuteOf(&today);
    SaveAlertState();
    return 1;
}

AlertMinute Application::NextAlertOfTable(AlertMinute now)
{
    NextAlertScan scan;
    StartAlertScan(&scan, now);
    for (int i = 0; i < entryCount; ++i) {
        const ReminderEntry& record = entryTable.records[i];
        DateRecord date = {};
        DateRecord time = {};
        if (record.removed || !record.hasTime || !ParseDate(record.dateText, &date) ||
            !ParseTime(record.timeText, &time, 1) || !time.timeValid)
            continue;
        // The record holds an annual date at its next occurrence.
        if (record.annual)
            date.year = 0;
        char token[10];
        FormatTime24(&time, token, sizeof token);
        NoteTimedReminder(&scan, &date, token);
    }
    return NextAlertTime(&scan, &alert);
}

void Application::RearmFromTable()
{
    // The window may have been open for hours: the clock of now, not of the start.
    DateRecord now;
    GetLocalTime(reinterpret_cast<SYSTEMTIME*>(&now));
    // Another start (an alert, a snooze) may have moved the task meanwhile.
    RegKey settings;
    if (settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey)) {
        int alerts = Alerts;
        LoadAlertSettings(&settings);
        Alerts = alerts;
        alert.on = alerts;
        settings.Close();
    }
    if (!KeepAlertArmed(Alerts ? NextAlertOfTable(MinuteOf(&now)) : 0))
        ShowTaskError(Alerts ? "Can't set the alert" : "Can't remove the alert", alertError);
}
