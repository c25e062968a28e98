// The options and the window placement in the per-user registry, and the
// program's entry in the Windows start-up list.
#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/CommandLine.h"
#include "RegKey.h"

#include <string.h>

extern const char kSettingsRegistryKey[];
const char kSettingsRegistryKey[] = "Software\\Pellix Freeware\\Tarvendel\\Settings";
static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kRunValue[] = "Tarvendel";

void Application::LoadSettings()
{
    LoadDecisionSettings();
    LoadWindowSettings();
}

// Each value read is a round trip to the system's registry, which a start
// at login, unlock or wake, when many programs start at once, waits for.
void Application::LoadDecisionSettings()
{
    Range = 10;
    RunOnce = 1;
    AlwaysRun = 0;
    RunDay = 99;
    RunDate = 0;
    ShownDate = 0;
    LoadAlertSettings(NULL);

    RegKey settings;
    if (!settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey)) {
        firstRun = 1;
        return;
    }
    firstRun = 0;
    DWORD number = 0;
    settings.ReadNumber("Range", &number, 10);
    Range = (int)number;
    settings.ReadFlag("RunOnce", &RunOnce, 1);
    if (RunOnce) {
        settings.ReadNumber("RunDay", &number, 99);
        RunDay = number;
    }
    // Read at every start: the reminders that fell due since that run
    // are shown, whether or not the window opens only once a day.
    settings.ReadNumber("RunDate", &number, 0);
    RunDate = number;
    // Settings from before the shown day was kept have only the day of
    // the last run that opened the window, the nearest thing to it.
    settings.ReadNumber("ShownDate", &number, RunDate);
    ShownDate = number;
    settings.ReadFlag("AlwaysRun", &AlwaysRun, 0);
    LoadAlertArming(&settings);
}

void Application::LoadWindowSettings()
{
    runAtStartup = 0;
    AutoRemove = 1;
    AskTime = 0;
    TimeCol = 1;
    DeclinedOldFile[0] = DeclinedOldFile[1] = 0;

    RegKey settings;
    if (settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey)) {
        settings.ReadFlag("AutoRemove", &AutoRemove, 1);
        if (!settings.ReadExact("DeclinedOldFile", DeclinedOldFile, sizeof DeclinedOldFile))
            DeclinedOldFile[0] = DeclinedOldFile[1] = 0;
        settings.ReadFlag("AskTime", &AskTime, 0);
        settings.ReadFlag("TimeCol", &TimeCol, 1);
        settings.Close();
    }

    RegKey run;
    if (!run.OpenForReading(HKEY_CURRENT_USER, kRunKey))
        return;
    // An entry of any length counts: one written for a program in a deep
    // folder is longer than any buffer kept for it here.
    runAtStartup = run.HasValue(kRunValue) ? 1 : 0;
}

int Application::RememberDeclinedOldFile(const unsigned long long mark[2])
{
    DeclinedOldFile[0] = mark[0];
    DeclinedOldFile[1] = mark[1];
    RegKey settings;
    return settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey) &&
           settings.WriteBinary("DeclinedOldFile", DeclinedOldFile, sizeof DeclinedOldFile);
}

int Application::SaveState()
{
    return SaveSettings();
}

int Application::SaveSettings()
{
    RegKey settings;
    if (!settings.OpenOrCreate(HKEY_CURRENT_USER, kSettingsRegistryKey))
        return 0;
    settings.WriteNumber("Range", (DWORD)Range);
    settings.WriteFlag("AutoRemove", AutoRemove);
    settings.WriteFlag("RunOnce", RunOnce);
    settings.WriteFlag("AlwaysRun", AlwaysRun);
    settings.WriteFlag("AskTime", AskTime);
    settings.WriteFlag("TimeCol", TimeCol);
    // The rest of the alert values belong to the alert start, which may run
    // while the window is open: they are written where they change.
    settings.WriteFlag("Alerts", Alerts);
    settings.WriteNumber("RunDay", today.day);
    settings.WriteNumber("RunDate", DateStamp(&today));
    // With no day known, the first window sets where missing begins: before
    // it there was nothing to miss.
    settings.WriteNumber("ShownDate", ShownDate != 0 ? ShownDate : DateStamp(&today));

    WINDOWPLACEMENT placement;
    memset(&placement, 0, sizeof placement);
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    int written = settings.WriteNumber("flags", placement.flags) &&
                  settings.WriteNumber("showCmd", placement.showCmd) &&
                  settings.WriteBinary("rcNormal", &placement.rcNormalPosition,
                                       sizeof placement.rcNormalPosition);
    return written;
}

int Application::RestorePlacement()
{
    RegKey settings;
    if (!settings.OpenForReading(HKEY_CURRENT_USER, kSettingsRegistryKey))
        return 0;
    WINDOWPLACEMENT placement;
    memset(&placement, 0, sizeof placement);
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);

    DWORD flags = 0;
    DWORD showCmd = 0;
    // A rectangle of any other size than four edges is no placement at all.
    if (!settings.ReadNumber("flags", &flags, 0) || !settings.ReadNumber("showCmd", &showCmd, 0) ||
        !settings.ReadExact("rcNormal", &placement.rcNormalPosition,
                            sizeof placement.rcNormalPosition))
        return 0;
    settings.Close();
    placement.flags = flags;
    placement.showCmd = showCmd;
    // A window that opens on the taskbar is a reminder missed: one closed
    // while minimized comes back as it was before it was minimized.
    if (showCmd == SW_SHOWMINIMIZED || showCmd == SW_MINIMIZE || showCmd == SW_SHOWMINNOACTIVE ||
        showCmd == SW_FORCEMINIMIZE)
        placement.showCmd = (flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;

    if (placement.rcNormalPosition.left >
        GetSystemMetrics(SM_CXSCREEN) - GetSystemMetrics(SM_CXICON))
        return 0;
    if (placement.rcNormalPosition.top >
        GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYICON))
        return 0;
    // Nor one inside out or too small to be seen. (A window off the screen
    // is moved back onto it by the system, which keeps its size.)
    const RECT& normal = placement.rcNormalPosition;
    if ((LONGLONG)normal.right - normal.left < GetSystemMetrics(SM_CXICON) ||
        (LONGLONG)normal.bottom - normal.top < GetSystemMetrics(SM_CYICON))
        return 0;
    // The rectangle is in the pixels of the monitor it was left on: moved
    // there, the window keeps it rather than the one scaled for that DPI.
    placing = 1;
    SetWindowPlacement(window, &placement);
    placing = 0;
    // A show state that leaves the window hidden (one the program never
    // saves) gives way to the start-up show command.
    return IsWindowVisible(window) ? 1 : 0;
}
