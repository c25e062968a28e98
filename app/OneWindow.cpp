// The open main window as other starts of the program see it: a named mutex
// in the session's namespace while it exists, and a property on the window.
#include "OneWindow.h"

#include <string.h>

static const char kMutexName[] = "Local\\PellixFreeware.Tarvendel.MainWindow";
static const char kMarkName[] = "PellixFreeware.Tarvendel.MainWindow";
// Setup looks for this one (see installer/Tarvendel.nsi).
static const char kProcessMutexName[] = "Local\\PellixFreeware.Tarvendel.Process";
static HANDLE heldMutex;
// How long a start waits for the window of a process that holds the guard:
// ample for one that is creating its window right now.
static const DWORD kWindowWaitMs = 2000;
// Set once a held guard was found with no window behind it.
static int guardWithoutWindow;

static HWND FindOpenMainWindow();

// Whether a main window appears within the wait; 0 marks the guard as one
// to pass over.
static int WaitForMainWindow()
{
    DWORD start = GetTickCount();
    for (;;) {
        if (FindOpenMainWindow() != NULL)
            return 1;
        if (GetTickCount() - start >= kWindowWaitMs)
            break;
        Sleep(50);
    }
    guardWithoutWindow = 1;
    return 0;
}

int IsMainWindowOpen()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
    // ERROR_ACCESS_DENIED: there, but made by a process with other rights
    // than this one's.
    if (mutex == NULL && GetLastError() != ERROR_ACCESS_DENIED)
        return 0;
    if (mutex != NULL)
        CloseHandle(mutex);
    return WaitForMainWindow();
}

int ClaimMainWindow()
{
    if (heldMutex != NULL)
        return 1;
    HANDLE mutex = CreateMutexA(NULL, FALSE, kMutexName);
    int taken = mutex == NULL ? GetLastError() == ERROR_ACCESS_DENIED
                              : GetLastError() == ERROR_ALREADY_EXISTS;
    // Without the guard the program still works as it always has; with it
    // taken by a start that has since opened a window, that window wins.
    if (taken && !guardWithoutWindow && WaitForMainWindow()) {
        if (mutex != NULL)
            CloseHandle(mutex);
        return 0;
    }
    heldMutex = mutex;
    return 1;
}

void ReleaseMainWindow()
{
    if (heldMutex != NULL)
        CloseHandle(heldMutex);
    heldMutex = NULL;
}

// The property points to nothing that needs freeing; the system drops it
// with the window.
int MarkMainWindow(HWND window)
{
    return SetPropA(window, kMarkName, reinterpret_cast<HANDLE>(1)) != 0;
}

static BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "MainClass") != 0 || GetPropA(window, kMarkName) == NULL)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

static HWND FindOpenMainWindow()
{
    HWND main = NULL;
    EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&main));
    return main;
}

struct OwnedSearch {
    HWND main;
    HWND found;
};

// A visible, enabled window owned (at any depth) by the main window: the
// dialog or box that has the input while the main window is disabled.
static BOOL CALLBACK FindOwnedPopup(HWND window, LPARAM search)
{
    OwnedSearch* s = reinterpret_cast<OwnedSearch*>(search);
    if (window == s->main || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    for (HWND owner = GetWindow(window, GW_OWNER); owner != NULL; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == s->main) {
            s->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

// The window to bring forward: the main window, or what is open over it.
static HWND FrontWindow(HWND main)
{
    HWND front = GetLastActivePopup(main);
    if (front != NULL && front != main && IsWindowVisible(front) && IsWindowEnabled(front))
        return front;
    // A minimized window's dialog was hidden with it and is not always the
    // last active popup once shown again; the disabled main window never is
    // the one to bring forward while something is open over it.
    OwnedSearch search = {main, NULL};
    EnumThreadWindows(GetWindowThreadProcessId(main, NULL), FindOwnedPopup,
                      reinterpret_cast<LPARAM>(&search));
    return search.found != NULL ? search.found : main;
}

int BringMainWindowForward(HWND main)
{
    if (IsIconic(main))
        ShowWindow(main, SW_RESTORE);
    // A Setup dialog or a question open over the window keeps the input.
    HWND front = FrontWindow(main);
    int foreground = SetForegroundWindow(front) && GetForegroundWindow() == front;
    BringWindowToTop(front);
    return foreground;
}

int ShowOpenMainWindow()
{
    HWND main = FindOpenMainWindow();
    if (main == NULL)
        return 0;
    BringMainWindowForward(main);
    return 1;
}

UINT RunStartMessage()
{
    static UINT message = RegisterWindowMessageA("PellixFreeware.Tarvendel.RunStart");
    return message;
}

int HandRunStartOver()
{
    HWND main = FindOpenMainWindow();
    UINT message = RunStartMessage();
    if (main == NULL || message == 0)
        return 0;
    // The start from the start-up list may come forward; the window it hands
    // over to may then do so in its place.
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(main, message, 0, 0);
}

void ClaimProcessGuard()
{
    static HANDLE processMutex;
    if (processMutex == NULL)
        processMutex = CreateMutexA(NULL, FALSE, kProcessMutexName);
}
