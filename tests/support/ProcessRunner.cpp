#include "ProcessRunner.h"

#include "TestFiles.h"

#include <algorithm>

#include <commctrl.h>

#include <string.h>

std::string TarvendelPath()
{
    return ProgramFolder() + "Tarvendel.exe";
}

std::wstring Wide(const std::string& utf8)
{
    wchar_t wide[2048] = L"";
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide, 2048);
    return wide;
}

namespace {

struct Watch {
    DWORD processId;
    int button;
    std::vector<HWND> seen; // each window is visited or answered when it first shows
    ProcessRun* run;
    MainWindowVisit visit;
    HWND mainWindow;
    const char* visited;
};

} // namespace

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

namespace {

BOOL CALLBACK Inspect(HWND window, LPARAM param)
{
    Watch* watch = reinterpret_cast<Watch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watch->processId || !IsWindowVisible(window))
        return TRUE;
    if (std::find(watch->seen.begin(), watch->seen.end(), window) != watch->seen.end())
        return TRUE;
    watch->seen.push_back(window);
    watch->run->windowsShown++;
    char className[64];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, watch->visited) == 0 && watch->mainWindow == NULL) {
        watch->mainWindow = window;
        if (watch->visit) {
            Sleep(300); // let the start-up fill the list and the status bar
            watch->visit(window);
        }
        return TRUE;
    }
    if (strcmp(className, "#32770") != 0 && strcmp(className, "CMSGCLASS") != 0)
        return TRUE;
    AnsweredWindow box;
    box.className = className;
    box.caption = RemoteText(window);
    HWND label = GetDlgItem(window, 0xFFFF);
    box.text = RemoteText(label != NULL ? label : window);
    watch->run->boxes.push_back(box);
    PressButton(window, watch->button, RemoteText);
    return TRUE;
}

} // namespace

ProcessRun RunProgram(const std::string& program, const std::string& arguments, int button,
                      DWORD timeoutMs, MainWindowVisit visit, const StartedAs& as)
{
    ProcessRun run = {0, 0, 0, {}};
    std::string name = as.name.empty() ? "\"" + program + "\"" : as.name;
    std::wstring line = Wide(name + (arguments.empty() ? "" : " " + arguments));
    std::wstring folder = Wide(as.folder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(Wide(program).c_str(), &line[0], NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folder.c_str(), &startup, &process))
        return run;
    Watch watch = {process.dwProcessId, button, {}, &run, visit, NULL, as.visited.c_str()};
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

std::vector<std::string> RemoteListLines(HWND list)
{
    std::vector<std::string> lines;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
        wchar_t line[512] = L"";
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, (LPARAM)line, SMTO_ABORTIFHUNG, 1000, &length);
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, line, -1, narrow, sizeof narrow, NULL, NULL);
        lines.push_back(narrow);
    }
    return lines;
}

// Status-bar messages carry a pointer, so the text is fetched into memory of
// the other process and read back from there.
std::string RemoteStatusText(HWND status, int part)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(status, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                 processId);
    if (process == NULL)
        return "";
    void* remote = VirtualAllocEx(process, NULL, 512, MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(status, SB_GETTEXTA, part, (LPARAM)remote, SMTO_ABORTIFHUNG, 1000, &result);
    char text[512] = "";
    SIZE_T read = 0;
    ReadProcessMemory(process, remote, text, sizeof text - 1, &read);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

HWND FindChildOfClass(HWND parent, const char* className)
{
    return FindWindowExA(parent, NULL, className, NULL);
}

std::vector<std::string> AnswerBoxes(HWND main)
{
    std::vector<std::string> texts;
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    for (DWORD quiet = GetTickCount(); GetTickCount() - quiet < 1500; Sleep(20)) {
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "CMSGCLASS", NULL)) != NULL) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner == processId && IsWindowVisible(box))
                break;
        }
        if (box == NULL)
            continue;
        HWND label = GetDlgItem(box, 0xFFFF);
        texts.push_back(RemoteText(label != NULL ? label : box));
        PressButton(box, IDOK, RemoteText);
        while (IsWindow(box) && IsWindowVisible(box))
            Sleep(20);
        quiet = GetTickCount();
    }
    return texts;
}

namespace {

struct Search {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindOfClass(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || !IsWindowVisible(window) ||
        strcmp(className, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND WaitForWindowOfClass(HWND sameProcess, const char* className, DWORD timeoutMs)
{
    Search search = {0, className, NULL};
    GetWindowThreadProcessId(sameProcess, &search.processId);
    DWORD started = GetTickCount();
    do {
        search.found = NULL;
        EnumWindows(FindOfClass, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - started < timeoutMs);
    return NULL;
}

int RunRemoteSetup(HWND main, int clicks, std::vector<std::string>* boxes)
{
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(40003, 0), 0); // Setup
    HWND dialog = WaitForWindowOfClass(main, "#32770", 10000);
    if (dialog == NULL)
        return -1;
    HWND box = GetDlgItem(dialog, 1016); // "Run at startup"
    DWORD_PTR checked = 0;
    SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &checked);
    for (int i = 0; i < clicks; ++i)
        SendMessageTimeoutA(box, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1000, NULL);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    DWORD started = GetTickCount();
    while (IsWindow(dialog) && GetTickCount() - started < 20000) {
        HWND shown = WaitForWindowOfClass(main, "CMSGCLASS", 50);
        if (shown != NULL) {
            HWND label = GetDlgItem(shown, 0xFFFF);
            if (boxes != NULL)
                boxes->push_back(RemoteText(label != NULL ? label : shown));
            PressButton(shown, IDOK, RemoteText);
            while (IsWindow(shown) && GetTickCount() - started < 20000)
                Sleep(20);
        }
    }
    return checked == BST_CHECKED ? 1 : 0;
}
