// The open main window as other starts of the program see it: a named mutex
// in the session's namespace while it exists, and a property on the window.
#include "OneWindow.h"

#include <string.h>

static const char kMutexName[] = "Local\\PellixFreeware.Tarvendel.MainWindow";
static const char kMarkName[] = "PellixFreeware.Tarvendel.MainWindow";
static HANDLE heldMutex;

int IsMainWindowOpen()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
    if (mutex != NULL) {
        CloseHandle(mutex);
        return 1;
    }
    // There, but made by a process with other rights than this one's.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

int ClaimMainWindow()
{
    if (heldMutex != NULL)
        return 1;
    HANDLE mutex = CreateMutexA(NULL, FALSE, kMutexName);
    if (mutex == NULL)
        // Without the guard the program still works as it always has.
        return GetLastError() != ERROR_ACCESS_DENIED;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
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

int ShowOpenMainWindow()
{
    HWND main = FindOpenMainWindow();
    if (main == NULL)
        return 0;
    if (IsIconic(main))
        ShowWindow(main, SW_RESTORE);
    // A Setup dialog or a question open over the window keeps the input.
    HWND front = GetLastActivePopup(main);
    SetForegroundWindow(front != NULL ? front : main);
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
