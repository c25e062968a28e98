// The Run value, the unlock-and-wake task and the user's start-up switch,
// applied together so that login, unlock and wake start one and the same file.
#include "StartupEntry.h"

#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/ShowError.h"
#include "RegKey.h"
#include "StartupTask.h"

static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kRunValue[] = "Tarvendel";
static const wchar_t kRunValueWide[] = L"Tarvendel";
// Where Task Manager and Settings keep their switch for each Run value.
static const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

int BuildRunEntry(const wchar_t* programFile, wchar_t* entry, size_t count)
{
    int quoted = 0;
    for (const wchar_t* c = programFile; *c != L'\0'; ++c)
        quoted = quoted || *c == L' ';
    if (count == 0)
        return 0;
    entry[0] = L'\0';
    // A cut path would start some other file at login: all or nothing.
    int fits = (!quoted || AppendWide(entry, count, L"\"")) &&
               AppendWide(entry, count, programFile) &&
               (!quoted || AppendWide(entry, count, L"\"")) && AppendWide(entry, count, L" RUN");
    if (!fits)
        entry[0] = L'\0';
    return fits;
}

int GetProgramFileWide(wchar_t* path, size_t count)
{
    DWORD length = GetModuleFileNameW(NULL, path, (DWORD)count);
    return length > 0 && length < count;
}

int StartupSwitchedOff()
{
    // The first byte is even while the entry is on (2, or 6) and odd once
    // the user has turned it off; no value at all means on.
    RegKey approved;
    BYTE first = 0;
    return approved.OpenForReading(HKEY_CURRENT_USER, kApprovedKey) &&
           approved.ReadFirstByte(kRunValue, &first) && (first & 1) != 0;
}

int StartupIsOn()
{
    if (StartupSwitchedOff())
        return 0;
    RegKey run;
    if (run.OpenForReading(HKEY_CURRENT_USER, kRunKey) && run.HasValue(kRunValue))
        return 1;
    return StartupTaskExists() == 1;
}

void ShowTaskError(const char* message, long error)
{
    char detail[40] = "error 0x";
    static const char kDigits[] = "0123456789ABCDEF";
    char hex[9];
    for (int i = 0; i < 8; ++i)
        hex[i] = kDigits[((unsigned long)error >> (28 - 4 * i)) & 0xF];
    hex[8] = '\0';
    AppendText(detail, sizeof detail, hex);
    ShowError(message, detail);
}

int Application::ApplyRunAtStartup()
{
    RegKey run;
    // The user's own switch follows the box: ticking it turns the program on
    // again where Windows had it off, unticking leaves nothing behind.
    RegKey approved;
    if (approved.OpenOrCreate(HKEY_CURRENT_USER, kApprovedKey))
        approved.DeleteValue(kRunValue);
    approved.Close();
    // A task of an earlier version for every user of the computer, made by
    // this user, would go on starting whatever file it named.
    RemoveSharedStartupTask();

    if (!runAtStartup) {
        if (run.OpenOrCreate(HKEY_CURRENT_USER, kRunKey))
            run.DeleteValue(kRunValue);
        long error = 0;
        if (!DeleteStartupTask(&error)) {
            ShowTaskError("Can't remove the start-up task", error);
            return 0;
        }
        return 1;
    }

    // The running file itself, for the Run value as for the task: login,
    // unlock and wake must all start the same program, whatever its name
    // and in whatever script its folder is named.
    wchar_t module[kPathSize];
    wchar_t entry[kRunEntryLength];
    if (!GetProgramFileWide(module, kPathSize) || !BuildRunEntry(module, entry, kRunEntryLength)) {
        ShowError("Can't write the start-up entry", programPath);
        return 0;
    }
    if (!run.OpenOrCreate(HKEY_CURRENT_USER, kRunKey) || !run.WriteWideString(kRunValueWide, entry)) {
        ShowError("Can't write the start-up entry", "");
        return 0;
    }
    run.Close();

    char shortcut[kPathSize];
    UINT windowsLength = GetWindowsDirectoryA(shortcut, sizeof shortcut);
    if (windowsLength > 0 && windowsLength < sizeof shortcut &&
        AppendText(shortcut, sizeof shortcut, "\\StartM~1\\Programs\\Startup\\Tarvendel.exe.lnk"))
        DeleteFileA(shortcut);

    long error = 0;
    if (!RegisterStartupTask(module, &error)) {
        ShowTaskError("Can't register the start-up task", error);
        return 0;
    }
    return 1;
}
