// The unlock-and-wake task, through the Task Scheduler's COM interfaces. COM,
// its automation library and the scheduler are loaded only when these run,
// that is only when Setup switches "Run at startup": a start from the
// start-up list never pays for them.
#include "StartupTask.h"

#include "../core/BoundedString.h"

#include <windows.h>
#include <sddl.h>
#include <taskschd.h>

static const wchar_t kTaskName[] = L"Tarvendel";

// Appends text as XML character data. A folder name may hold '&', which
// would otherwise make the whole definition unreadable.
static int AppendEscaped(char* xml, size_t size, const char* text)
{
    char one[2] = {0, 0};
    for (; *text != '\0'; ++text) {
        const char* piece = one;
        switch (*text) {
        case '&': piece = "&amp;"; break;
        case '<': piece = "&lt;"; break;
        case '>': piece = "&gt;"; break;
        case '"': piece = "&quot;"; break;
        case '\'': piece = "&apos;"; break;
        default: one[0] = *text; break;
        }
        if (!AppendText(xml, size, piece))
            return 0;
    }
    return 1;
}

int BuildTaskDefinition(const char* programFile, const char* userId, char* xml, size_t size)
{
    // The wake event's query is XML of its own, carried as text.
    static const char kWakeQuery[] =
        "<QueryList><Query Id=\"0\" Path=\"System\"><Select Path=\"System\">"
        "*[System[Provider[@Name='Microsoft-Windows-Power-Troubleshooter'] and EventID=1]]"
        "</Select></Query></QueryList>";
    const struct {
        const char* text;
        int escaped;
    } pieces[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         "<RegistrationInfo><Description>Shows due reminders after the session is unlocked "
         "and after the computer wakes.</Description></RegistrationInfo>\n"
         "<Triggers>\n"
         "<SessionStateChangeTrigger><StateChange>SessionUnlock</StateChange><UserId>",
         0},
        {userId, 1},
        {"</UserId></SessionStateChangeTrigger>\n"
         "<EventTrigger><Subscription>",
         0},
        {kWakeQuery, 1},
        {"</Subscription></EventTrigger>\n"
         "</Triggers>\n"
         "<Principals><Principal id=\"User\"><UserId>",
         0},
        {userId, 1},
        {"</UserId><LogonType>InteractiveToken</LogonType><RunLevel>LeastPrivilege</RunLevel>"
         "</Principal></Principals>\n"
         // The scheduler's defaults would keep it off on battery, end an open
         // window after three days (its edits lost) and run it below normal
         // priority.
         "<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
         "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
         "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
         "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority></Settings>\n"
         "<Actions Context=\"User\"><Exec><Command>\"",
         0},
        {programFile, 1},
        {"\"</Command><Arguments>RUN</Arguments></Exec></Actions>\n"
         "</Task>\n",
         0},
    };
    xml[0] = '\0';
    for (const auto& piece : pieces) {
        int fits = piece.escaped ? AppendEscaped(xml, size, piece.text)
                                 : AppendText(xml, size, piece.text);
        if (!fits)
            return 0;
    }
    return 1;
}

// The SID names the user whatever the user and domain names are.
static int CurrentUserSid(char* sid, size_t size)
{
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    // Room for the largest SID there is after the TOKEN_USER that points to it.
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD length = 0;
    BOOL got = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &length);
    CloseHandle(token);
    char* text = NULL;
    if (!got || !ConvertSidToStringSidA(buffer.user.User.Sid, &text))
        return 0;
    int fits = CopyText(sid, size, text);
    LocalFree(text);
    return fits;
}

// The root folder of the Task Scheduler for as long as the object lives.
class TaskRoot {
public:
    TaskRoot() : comStarted(0), service(NULL), root(NULL) {}
    ~TaskRoot()
    {
        if (root != NULL)
            root->Release();
        if (service != NULL)
            service->Release();
        if (comStarted)
            CoUninitialize();
    }

    int Open()
    {
        HRESULT started = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        comStarted = SUCCEEDED(started);
        // COM already started in the other model on this thread serves as well.
        if (FAILED(started) && started != RPC_E_CHANGED_MODE)
            return 0;
        if (FAILED(CoCreateInstance(__uuidof(TaskScheduler), NULL, CLSCTX_INPROC_SERVER,
                                    __uuidof(ITaskService), reinterpret_cast<void**>(&service)))) {
            service = NULL;
            return 0;
        }
        VARIANT none;
        VariantInit(&none);
        if (FAILED(service->Connect(none, none, none, none)))
            return 0;
        BSTR path = SysAllocString(L"\\");
        if (path == NULL)
            return 0;
        HRESULT got = service->GetFolder(path, &root);
        SysFreeString(path);
        if (FAILED(got))
            root = NULL;
        return root != NULL;
    }

    int comStarted;
    ITaskService* service;
    ITaskFolder* root;
};

int RegisterStartupTask(const char* programFile)
{
    char user[SECURITY_MAX_SID_SIZE * 4];
    static char xml[kTaskXmlSize];
    static wchar_t wideXml[kTaskXmlSize];
    if (!CurrentUserSid(user, sizeof user) ||
        !BuildTaskDefinition(programFile, user, xml, sizeof xml) ||
        MultiByteToWideChar(CP_ACP, 0, xml, -1, wideXml, (int)kTaskXmlSize) == 0)
        return 0;

    TaskRoot scheduler;
    if (!scheduler.Open())
        return 0;
    BSTR name = SysAllocString(kTaskName);
    BSTR definition = SysAllocString(wideXml);
    VARIANT none;
    VariantInit(&none);
    IRegisteredTask* task = NULL;
    HRESULT registered = E_OUTOFMEMORY;
    if (name != NULL && definition != NULL)
        registered = scheduler.root->RegisterTask(name, definition, TASK_CREATE_OR_UPDATE, none,
                                                  none, TASK_LOGON_INTERACTIVE_TOKEN, none, &task);
    SysFreeString(definition);
    SysFreeString(name);
    if (SUCCEEDED(registered) && task != NULL)
        task->Release();
    return SUCCEEDED(registered);
}

int DeleteStartupTask()
{
    TaskRoot scheduler;
    if (!scheduler.Open())
        return 0;
    BSTR name = SysAllocString(kTaskName);
    if (name == NULL)
        return 0;
    HRESULT deleted = scheduler.root->DeleteTask(name, 0);
    SysFreeString(name);
    return SUCCEEDED(deleted);
}
