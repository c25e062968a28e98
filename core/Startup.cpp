#include "Application.h"
#include "../app/OneWindow.h"
#include "../framework/ButtonBar.h"
#include "../resources/resource.h"

int StartProgram(HINSTANCE instance, int showCommand)
{
    instanceHandle = instance;
    GetLocalTime((SYSTEMTIME*)&today);
    theApp.LoadSettings();

    theApp.ParseCommandLine();
    // Before anything is written. A RUN start has nothing to add to the open
    // window, which already shows what is due.
    if (IsMainWindowOpen()) {
        if (!theApp.reminderMode)
            ShowOpenMainWindow();
        return 0;
    }
    theApp.LocateDataFolder();
    theApp.MigrateOldDataFile();
    if (!theApp.LoadDataFile())
        return 1;
    if (!theApp.ShouldShowWindow())
        return 0;
    // Loaded only now that windows follow: the first USER call loads the
    // window DLLs, which a start that ends unseen never needs.
    handCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    return theApp.StartWindows(showCommand);
}
