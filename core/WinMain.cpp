#include "Application.h"
#include "StartupTrace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    TraceStartup("C runtime and static objects");
    int exitCode = StartProgram(instance, showCommand);
    WriteStartupTrace();
    // The system frees the memory, handles and fonts that the static
    // objects' destructors would release one by one, at every silent start.
    ExitProcess((UINT)exitCode);
}
