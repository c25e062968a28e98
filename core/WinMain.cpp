#include "Application.h"
#include "StartupTrace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    TraceStartup("C runtime and static objects");
    int exitCode = StartProgram(instance, showCommand);
    WriteStartupTrace();
    return exitCode;
}
