#include "Application.h"
#include "../app/AlertStart.h"
#include "../app/CalendarFiles.h"
#include "../app/OneWindow.h"
#include "../app/StartupEntry.h"
#include "../framework/ButtonBar.h"
#include "../framework/DpiScale.h"
#include "../framework/SystemCall.h"
#include "../resources/resource.h"
#include "StartupTrace.h"

// The window and shell DLLs are loaded on first use, by name. From a
// downloads folder a planted copy beside the program (or in the current
// folder) would be found first: they come from the system folder only.
// Found at run time: Windows 7 without its loader update lacks the call.
static void LoadLibrariesFromSystemOnly()
{
    typedef BOOL(WINAPI * SetDirectories)(DWORD);
    SetDirectories setDirectories =
        FindSystemCall<SetDirectories>("kernel32.dll", "SetDefaultDllDirectories");
    const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (setDirectories != NULL)
        setDirectories(kSearchSystem32);
}

int StartProgram(HINSTANCE instance, int showCommand)
{
    ClaimProcessGuard();
    LoadLibrariesFromSystemOnly();
    instanceHandle = instance;
    GetLocalTime((SYSTEMTIME*)&today);
    TraceStartup("process guard, DLL search, clock");
    theApp.LoadDecisionSettings();
    TraceStartup("settings read");
    theApp.ParseCommandLine();
    TraceStartup("command line and program file");
    int exported = RunCommandLineExport();
    if (exported >= 0)
        return exported;
    // What is imported is seen and checked in the full list.
    if (ImportRequested())
        theApp.reminderMode = 0;
    // The window's own settings: a start from the start-up list reads them
    // only once it knows that the window opens.
    if (!theApp.reminderMode)
        theApp.LoadWindowSettings();
    // Not a start from the start-up list, though older versions take it for
    // one: neither "once a day", the user's start-up switch nor an open
    // window holds it back.
    if (theApp.alertStart)
        return RunAlertStart();
    // Turned off in the system's start-up list, the program is not started
    // at login; the unlock-and-wake task must not start it either.
    if (theApp.reminderMode && StartupSwitchedOff())
        return 0;
    TraceStartup("start-up switch read");
    // Before anything is written. A RUN start leaves it to the open window
    // to take the day and come forward with whatever is due.
    if (IsMainWindowOpen()) {
        if (theApp.reminderMode)
            HandRunStartOver();
        else
            ShowOpenMainWindow();
        return 0;
    }
    TraceStartup("open window looked for");
    theApp.LocateDataFolder();
    TraceStartup("data folder found");
    theApp.MigrateOldDataFile();
    TraceStartup("old data file looked for");
    if (!theApp.LoadDataFile())
        return 1;
    TraceStartup("data file read");
    int show = theApp.DecideRunStart();
    TraceStartup("reminders judged");
    theApp.FollowScannedAlert(show);
    TraceStartup("alert task checked");
    if (!show)
        return 0;
    if (theApp.reminderMode)
        theApp.LoadWindowSettings();
    // Loaded only now that windows follow: the first USER call loads the
    // window DLLs, which a start that ends unseen never needs.
    int owned = 0; // the screen's size comes from the shared cache
    handCursor = LoadCursorForDpi(instance, MAKEINTRESOURCEA(IDR_HAND_CURSOR), DpiOf(NULL), &owned);
    return theApp.StartWindows(showCommand);
}
