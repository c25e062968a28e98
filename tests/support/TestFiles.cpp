#include "TestFiles.h"

#include "core/FileSystem.h"

#include <windows.h>
#include <shlobj.h>
#include <sddl.h>
#include <taskschd.h>

#include <stdio.h>
#include <string.h>

std::string DataFolderPath()
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, 0, path);
    return std::string(path) + "\\PellixFreeware\\Tarvendel\\";
}

std::string DataFilePath()
{
    return DataFolderPath() + "Tarvendel.dat";
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    char* slash = strrchr(path, '\\');
    if (slash != nullptr)
        slash[1] = '\0';
    return path;
}

std::string NewTempFolder()
{
    static int counter;
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    for (;;) {
        std::string folder = std::string(base) + "tarvendel-test-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(folder.c_str(), NULL))
            return folder + "\\";
    }
}

int WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == text.size();
}

int WriteDataFile(const std::string& text)
{
    return CreateDirectoryPath(DataFolderPath().c_str()) && WriteFileText(DataFilePath(), text);
}

std::string ReadFileText(const std::string& path, int* found)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (found != nullptr)
        *found = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

void RemoveTree(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = base + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
}

void ClearSettings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tarvendel");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel");
}

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

std::wstring UserSid()
{
    HANDLE token = NULL;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[512];
    DWORD length = 0;
    wchar_t* text = NULL;
    std::wstring sid;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

std::wstring UserTaskName()
{
    return L"Tarvendel-" + UserSid();
}

namespace {

// The scheduler's root folder, or null; COM is started for the calling thread.
ITaskFolder* OpenTaskRoot()
{
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    ITaskService* service = NULL;
    ITaskFolder* root = NULL;
    VARIANT none;
    VariantInit(&none);
    BSTR rootPath = SysAllocString(L"\\");
    if (SUCCEEDED(CoCreateInstance(__uuidof(TaskScheduler), NULL, CLSCTX_INPROC_SERVER,
                                   __uuidof(ITaskService), (void**)&service)) &&
        SUCCEEDED(service->Connect(none, none, none, none)))
        service->GetFolder(rootPath, &root);
    if (service != NULL)
        service->Release();
    SysFreeString(rootPath);
    return root;
}

} // namespace

int TaskExists(const std::wstring& name)
{
    ITaskFolder* root = OpenTaskRoot();
    if (root == NULL)
        return -1;
    IRegisteredTask* task = NULL;
    BSTR text = SysAllocString(name.c_str());
    HRESULT found = root->GetTask(text, &task);
    SysFreeString(text);
    root->Release();
    if (task != NULL)
        task->Release();
    if (SUCCEEDED(found))
        return 1;
    return found == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? 0 : -1;
}

int UserTaskExists()
{
    return TaskExists(UserTaskName());
}

int RegisterTestTask(const std::wstring& name, const std::wstring& userId)
{
    ITaskFolder* root = OpenTaskRoot();
    if (root == NULL)
        return 0;
    std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
        L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
        L"<Principals><Principal id=\"User\"><UserId>" + userId +
        L"</UserId><LogonType>InteractiveToken</LogonType></Principal></Principals>"
        L"<Actions Context=\"User\"><Exec><Command>C:\\Old\\Tarvendel.exe</Command>"
        L"<Arguments>RUN</Arguments></Exec></Actions></Task>";
    BSTR taskName = SysAllocString(name.c_str());
    BSTR definition = SysAllocString(xml.c_str());
    VARIANT none;
    VariantInit(&none);
    IRegisteredTask* task = NULL;
    HRESULT registered = root->RegisterTask(taskName, definition, TASK_CREATE_OR_UPDATE, none, none,
                                            TASK_LOGON_INTERACTIVE_TOKEN, none, &task);
    SysFreeString(definition);
    SysFreeString(taskName);
    if (task != NULL)
        task->Release();
    root->Release();
    return SUCCEEDED(registered);
}

std::wstring TaskUserId(const std::wstring& name)
{
    ITaskFolder* root = OpenTaskRoot();
    if (root == NULL)
        return L"";
    std::wstring userId;
    IRegisteredTask* task = NULL;
    ITaskDefinition* definition = NULL;
    IPrincipal* principal = NULL;
    BSTR text = SysAllocString(name.c_str());
    BSTR user = NULL;
    if (SUCCEEDED(root->GetTask(text, &task)) && SUCCEEDED(task->get_Definition(&definition)) &&
        SUCCEEDED(definition->get_Principal(&principal)) &&
        SUCCEEDED(principal->get_UserId(&user)) && user != NULL)
        userId = user;
    SysFreeString(user);
    SysFreeString(text);
    if (principal != NULL)
        principal->Release();
    if (definition != NULL)
        definition->Release();
    if (task != NULL)
        task->Release();
    root->Release();
    return userId;
}

void DeleteTestTask(const std::wstring& name)
{
    ITaskFolder* root = OpenTaskRoot();
    if (root == NULL)
        return;
    BSTR text = SysAllocString(name.c_str());
    root->DeleteTask(text, 0);
    SysFreeString(text);
    root->Release();
}

#include "AppState.h"

void ResetApplication()
{
    theApp.ReleaseTextBuffer();
    theApp.AlwaysRun = 0;
    theApp.AskTime = 0;
    theApp.AutoRemove = 1;
    theApp.RunOnce = 1;
    theApp.TimeCol = 1;
    theApp.modified = 0;
    theApp.reminderMode = 0;
    theApp.firstRun = 0;
    theApp.runAtStartup = 0;
    theApp.Range = 10;
    theApp.RunDay = 99;
    theApp.RunDate = 0;
    theApp.ShownDate = 0;
    theApp.LoadAlertSettings(NULL);
    theApp.DeclinedOldFile[0] = theApp.DeclinedOldFile[1] = 0;
    theApp.programPath[0] = '\0';
    theApp.dataFolder[0] = '\0';
    theApp.dataFilePath[0] = '\0';
}

void LoadText(const std::string& text)
{
    theApp.ReleaseTextBuffer();
    theApp.textBufferSize = (int)text.size() + 5000;
    theApp.textBuffer = (char*)GlobalAlloc(GPTR, (SIZE_T)theApp.textBufferSize);
    memcpy(theApp.textBuffer, text.data(), text.size());
    theApp.parseCursor = theApp.textBuffer;
}

DateRecord MakeDate(int year, int month, int day)
{
    return DateRecord{(uint16_t)year, (uint16_t)month, 0, (uint16_t)day, 0, 0, 0, 0};
}

const char kSettingsKey[] = "Software\\Pellix Freeware\\Tarvendel\\Settings";

int StoreSetting(const char* name, DWORD type, const std::string& data)
{
    return RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, type, data.data(),
                           (DWORD)data.size()) == ERROR_SUCCESS;
}

std::string SettingBytes(DWORD value, size_t size)
{
    std::string bytes((const char*)&value, sizeof value);
    bytes.resize(size, '\0');
    return bytes;
}

long long ReadSetting(const char* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, NULL, &value, &size) !=
        ERROR_SUCCESS)
        return -1;
    return (long long)value;
}

int SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegCloseKey(key);
    return 1;
}

std::string PellixFolder()
{
    std::string data = DataFolderPath();
    return data.substr(0, data.size() - strlen("Tarvendel\\"));
}

SYSTEMTIME InDays(int days)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    ULARGE_INTEGER time; // a FILETIME's two halves, as one number
    SystemTimeToFileTime(&now, (FILETIME*)&time);
    time.QuadPart += (ULONGLONG)(LONGLONG)days * 24 * 3600 * 10000000LL;
    FileTimeToSystemTime((FILETIME*)&time, &now);
    return now;
}

std::string Corners(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string DateText(int days, int withYear)
{
    SYSTEMTIME day = InDays(days);
    char text[16];
    snprintf(text, sizeof text, withYear ? "%02u/%02u/%02u" : "%02u/%02u", day.wMonth, day.wDay,
             day.wYear % 100);
    return text;
}
