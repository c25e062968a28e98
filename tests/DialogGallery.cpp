// Shows the Setup dialog ("setup", the default) or the Info dialog ("info")
// for a few seconds, then ends by itself: something to take a screenshot of.
#include "app/InfoDialog.h"
#include "app/SetupDialog.h"
#include "framework/WindowObject.h"
#include "support/Gallery.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    instanceHandle = instance;
    gallery::EndAfter(8);
    if (_stricmp(commandLine, "info") == 0)
        RunInfoDialog(NULL);
    else
        RunSetupDialog(NULL);
    return 0;
}
