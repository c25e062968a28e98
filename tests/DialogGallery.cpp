// Shows the Setup dialog ("setup", the default) or the Info dialog ("info")
// for a few seconds, then ends by itself: something to take a screenshot of.
#include "app/InfoDialog.h"
#include "app/SetupDialog.h"
#include "framework/WindowObject.h"

#include <windows.h>

#include <string.h>

static BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

static void CALLBACK EndShow(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    instanceHandle = instance;
    SetTimer(NULL, 0, 8000, EndShow);
    if (_stricmp(commandLine, "info") == 0)
        RunInfoDialog(NULL);
    else
        RunSetupDialog(NULL);
    return 0;
}
