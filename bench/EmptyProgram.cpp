// The yardstick for start-up time: a Win32 program that does nothing. Built
// again as EmptyTraced.exe with the notes of TarvendelTraced.exe, so that
// the two programs' starts can be set side by side; here the notes are empty.
#include "core/StartupTrace.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TraceStartup("C runtime and static objects");
    WriteStartupTrace();
    return 0;
}
