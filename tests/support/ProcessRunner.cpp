#include "ProcessRunner.h"

#include "TestFiles.h"

#include <algorithm>

#include <string.h>

std::string TarvendelPath()
{
    return ProgramFolder() + "Tarvendel.exe";
}

namespace {

struct Watch {
    DWORD processId;
    int button;
    std::vector<HWND> seen;
    std::vector<HWND> answered;
    ProcessRun* run;
};

// Text of another process's window; the W form is carried across processes intact.
std::string RemoteText(HWND window)
{
    wchar_t text[1024] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 1000, &length);
    char narrow[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, NULL, NULL);
    return narrow;
}

BOOL CALLBACK Inspect(HWND window, LPARAM param)
{
    Watch* watch = reinterpret_cast<Watch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watch->processId || !IsWindowVisible(window))
        return TRUE;
    if (std::find(watch->seen.begin(), watch->seen.end(), window) == watch->seen.end()) {
        watch->seen.push_back(window);
        watch->run->windowsShown++;
    }
    char className[64];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 && strcmp(className, "CMSGCLASS") != 0)
        return TRUE;
    if (std::find(watch->answered.begin(), watch->answered.end(), window) !=
        watch->answered.end())
        return TRUE;
    AnsweredWindow box;
    box.className = className;
    box.caption = RemoteText(window);
    HWND label = GetDlgItem(window, 0xFFFF);
    box.text = RemoteText(label != NULL ? label : window);
    watch->run->boxes.push_back(box);
    watch->answered.push_back(window);
    PressButton(window, watch->button, RemoteText);
    return TRUE;
}

} // namespace

ProcessRun RunProgram(const std::string& program, const std::string& arguments, int button,
                      DWORD timeoutMs)
{
    ProcessRun run = {0, 0, 0, {}};
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return run;
    Watch watch = {process.dwProcessId, button, {}, {}, &run};
    DWORD started = GetTickCount();
    for (;;) {
        DWORD wait = WaitForSingleObject(process.hProcess, 15);
        EnumWindows(Inspect, reinterpret_cast<LPARAM>(&watch));
        if (wait == WAIT_OBJECT_0) {
            run.finished = 1;
            break;
        }
        if (GetTickCount() - started > timeoutMs) {
            TerminateProcess(process.hProcess, 9999);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
