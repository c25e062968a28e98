// The unlock-and-wake task, and any task of the program's, through the Task
// Scheduler's COM interfaces. COM, its automation library and the scheduler
// are loaded only when these run (from Setup, a save, an alert, or a start
// that moves the alert task): a start from the start-up list that shows
// nothing and moves nothing never pays for them.
#include "StartupTask.h"

#include "../core/BoundedString.h"

#include <windows.h>
#include <sddl.h>
#include <taskschd.h>

static const wchar_t kTaskPrefix[] = L"Tarvendel-";
// The one task of earlier versions, shared by every user of the computer.
static const wchar_t kSharedTaskName[] = L"Tarvendel";

int AppendEscaped(wchar_t* xml, size_t count, const wchar_t* text)
{
    wchar_t one[2] = {0, 0};
    for (; *text != L'\0'; ++text) {
        const wchar_t* piece = one;
        switch (*text) {
        case L'&': piece = L"&amp;"; break;
        case L'<': piece = L"&lt;"; break;
        case L'>': piece = L"&gt;"; break;
        case L'"': piece = L"&quot;"; break;
        case L'\'': piece = L"&apos;"; break;
        default: one[0] = *text; break;
        }
        if (!AppendWide(xml, count, piece))
            return 0;
    }
    return 1;
}

int WriteTaskXml(wchar_t* xml, size_t count, const TaskXmlPiece* pieces, size_t pieceCount)
{
    if (count == 0)
        return 0;
    xml[0] = L'\0';
    for (size_t i = 0; i < pieceCount; ++i) {
        int fits = pieces[i].escaped ? AppendEscaped(xml, count, pieces[i].text)
                                     : AppendWide(xml, count, pieces[i].text);
        if (!fits)
            return 0;
    }
    return 1;
}

static size_t WideLength(const wchar_t* text)
{
    size_t n = 0;
    while (text[n] != L'\0')
        ++n;
    return n;
}

int BuildTaskDefinition(const wchar_t* programFile, const wchar_t* userId, wchar_t* xml,
                        size_t count)
{
    // Quoted as the Run entry is: a blank would otherwise split the path.
    int quoted = 0;
    for (const wchar_t* c = programFile; *c != L'\0'; ++c)
        quoted = quoted || *c == L' ';
    const wchar_t* quote = quoted ? L"\"" : L"";
    if (WideLength(programFile) + (quoted ? 2 : 0) > kLongestTaskCommand) {
        if (count > 0)
            xml[0] = L'\0';
        return 0;
    }
    // The wake event's query is XML of its own, carried as text.
    static const wchar_t kWakeQuery[] =
        L"<QueryList><Query Id=\"0\" Path=\"System\"><Select Path=\"System\">"
        L"*[System[Provider[@Name='Microsoft-Windows-Power-Troubleshooter'] and EventID=1]]"
        L"</Select></Query></QueryList>";
    // Element order follows the scheduler's schema, which is strict about it
    // inside the triggers (a sequence) though not elsewhere.
    const TaskXmlPiece pieces[] = {
        {L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         L"<RegistrationInfo><Description>Shows due reminders after the session is unlocked "
         L"and after the computer wakes.</Description></RegistrationInfo>\n"
         L"<Triggers>\n"
         L"<SessionStateChangeTrigger><UserId>",
         0},
        {userId, 1},
        {L"</UserId><StateChange>SessionUnlock</StateChange></SessionStateChangeTrigger>\n"
         L"<EventTrigger><Subscription>",
         0},
        {kWakeQuery, 1},
        {L"</Subscription></EventTrigger>\n"
         L"</Triggers>\n"
         L"<Principals><Principal id=\"User\"><UserId>",
         0},
        {userId, 1},
        {L"</UserId><LogonType>InteractiveToken</LogonType><RunLevel>LeastPrivilege</RunLevel>"
         L"</Principal></Principals>\n"
         // The scheduler's defaults would keep it off on battery, end an open
         // window after three days (its edits lost) and run it below normal
         // priority.
         L"<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
         L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
         L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
         L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority></Settings>\n"
         L"<Actions Context=\"User\"><Exec><Command>",
         0},
        {quote, 0},
        {programFile, 1},
        {quote, 0},
        {L"</Command><Arguments>RUN</Arguments></Exec></Actions>\n"
         L"</Task>\n",
         0},
    };
    return WriteTaskXml(xml, count, pieces, sizeof pieces / sizeof pieces[0]);
}

// The SID of the process's user, to be freed with LocalFree.
static PSID CopyOfUserSid()
{
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return NULL;
    // Room for the largest SID there is after the TOKEN_USER that points to it.
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD length = 0;
    BOOL got = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &length);
    CloseHandle(token);
    if (!got)
        return NULL;
    DWORD size = GetLengthSid(buffer.user.User.Sid);
    PSID copy = LocalAlloc(LMEM_FIXED, size);
    if (copy != NULL && !CopySid(size, copy, buffer.user.User.Sid)) {
        LocalFree(copy);
        copy = NULL;
    }
    return copy;
}

// The SID names the user whatever the user and domain names are.
int CurrentUserSid(wchar_t* sid, size_t count)
{
    PSID user = CopyOfUserSid();
    wchar_t* text = NULL;
    int got = user != NULL && ConvertSidToStringSidW(user, &text);
    if (user != NULL)
        LocalFree(user);
    if (!got)
        return 0;
    int fits = CopyWide(sid, count, text);
    LocalFree(text);
    return fits;
}

int StartupTaskName(wchar_t* name, size_t count)
{
    wchar_t sid[SECURITY_MAX_SID_SIZE * 4];
    return CurrentUserSid(sid, sizeof sid / sizeof sid[0]) && CopyWide(name, count, kTaskPrefix) &&
           AppendWide(name, count, sid);
}

// The root folder of the Task Scheduler for as long as the object lives.
class TaskRoot {
public:
    TaskRoot() : comStarted(0), service(NULL), root(NULL), error(S_OK) {}
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
        error = S_OK;
        if (root != NULL)
            return 1;
        if (!comStarted) {
            HRESULT started = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
            comStarted = SUCCEEDED(started);
            // COM already started in the other model on this thread serves as well.
            if (FAILED(started) && started != RPC_E_CHANGED_MODE)
                return Failed(started);
        }
        HRESULT made = CoCreateInstance(__uuidof(TaskScheduler), NULL, CLSCTX_INPROC_SERVER,
                                        __uuidof(ITaskService), reinterpret_cast<void**>(&service));
        if (FAILED(made)) {
            service = NULL;
            return Failed(made);
        }
        VARIANT none;
        VariantInit(&none);
        HRESULT connected = service->Connect(none, none, none, none);
        if (FAILED(connected)) {
            service->Release();
            service = NULL;
            return Failed(connected);
        }
        BSTR path = SysAllocString(L"\\");
        if (path == NULL)
            return Failed(E_OUTOFMEMORY);
        HRESULT got = service->GetFolder(path, &root);
        SysFreeString(path);
        if (FAILED(got)) {
            root = NULL;
            service->Release();
            service = NULL;
            return Failed(got);
        }
        return 1;
    }

    // The task of that name, or NULL (with error set) when there is none or
    // it cannot be read.
    IRegisteredTask* Find(const wchar_t* name)
    {
        BSTR text = SysAllocString(name);
        IRegisteredTask* task = NULL;
        HRESULT found = text != NULL ? root->GetTask(text, &task) : E_OUTOFMEMORY;
        SysFreeString(text);
        if (FAILED(found)) {
            error = found;
            return NULL;
        }
        return task;
    }

    // 1 when the task is gone, also when there was none.
    int Delete(const wchar_t* name)
    {
        BSTR text = SysAllocString(name);
        HRESULT deleted = text != NULL ? root->DeleteTask(text, 0) : E_OUTOFMEMORY;
        SysFreeString(text);
        if (SUCCEEDED(deleted) || IsMissing(deleted))
            return 1;
        return Failed(deleted);
    }

    static int IsMissing(HRESULT result)
    {
        return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
               result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }

    int Failed(HRESULT result)
    {
        error = result;
        return 0;
    }

    int comStarted;
    ITaskService* service;
    ITaskFolder* root;
    HRESULT error;
};

// One connection for the whole run, made at the first use: each new one
// costs the scheduler's service a round of start-up, and under Wine leaves
// some memory behind, which a window saving all day would pile up.
static TaskRoot& ConnectedScheduler()
{
    static TaskRoot scheduler;
    scheduler.Open();
    return scheduler;
}

int RegisterTaskDefinition(const wchar_t* name, const wchar_t* xml, long* error)
{
    TaskRoot& scheduler = ConnectedScheduler();
    if (scheduler.root == NULL) {
        *error = scheduler.error;
        return 0;
    }
    BSTR taskName = SysAllocString(name);
    BSTR definition = SysAllocString(xml);
    VARIANT none;
    VariantInit(&none);
    IRegisteredTask* task = NULL;
    HRESULT registered = E_OUTOFMEMORY;
    if (taskName != NULL && definition != NULL)
        registered = scheduler.root->RegisterTask(taskName, definition, TASK_CREATE_OR_UPDATE, none,
                                                  none, TASK_LOGON_INTERACTIVE_TOKEN, none, &task);
    SysFreeString(definition);
    SysFreeString(taskName);
    if (SUCCEEDED(registered) && task != NULL)
        task->Release();
    *error = registered;
    return SUCCEEDED(registered);
}

int DeleteTaskNamed(const wchar_t* name, long* error)
{
    TaskRoot& scheduler = ConnectedScheduler();
    if (scheduler.root == NULL || !scheduler.Delete(name)) {
        *error = scheduler.error;
        return 0;
    }
    return 1;
}

int TaskNamedExists(const wchar_t* name)
{
    TaskRoot& scheduler = ConnectedScheduler();
    if (scheduler.root == NULL)
        return -1;
    IRegisteredTask* task = scheduler.Find(name);
    if (task != NULL) {
        task->Release();
        return 1;
    }
    return TaskRoot::IsMissing(scheduler.error) ? 0 : -1;
}

int RegisterStartupTask(const wchar_t* programFile, long* error)
{
    wchar_t user[SECURITY_MAX_SID_SIZE * 4];
    wchar_t name[kTaskNameLength];
    static wchar_t xml[kTaskXmlLength];
    *error = E_INVALIDARG;
    if (!CurrentUserSid(user, sizeof user / sizeof user[0]) ||
        !StartupTaskName(name, kTaskNameLength) ||
        !BuildTaskDefinition(programFile, user, xml, kTaskXmlLength))
        return 0;
    return RegisterTaskDefinition(name, xml, error);
}

int DeleteStartupTask(long* error)
{
    wchar_t name[kTaskNameLength];
    *error = E_INVALIDARG;
    if (!StartupTaskName(name, kTaskNameLength))
        return 0;
    return DeleteTaskNamed(name, error);
}

int StartupTaskExists()
{
    wchar_t name[kTaskNameLength];
    if (!StartupTaskName(name, kTaskNameLength))
        return -1;
    return TaskNamedExists(name);
}

// Whether a task's user (a SID, or an account name as the scheduler may
// give it back) is the current user.
static int IsCurrentUser(const wchar_t* userId)
{
    PSID me = CopyOfUserSid();
    if (me == NULL)
        return 0;
    int same = 0;
    PSID named = NULL;
    if (ConvertStringSidToSidW(userId, &named)) {
        same = EqualSid(me, named);
        LocalFree(named);
    } else {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof sid;
        wchar_t domain[256];
        DWORD domainLength = sizeof domain / sizeof domain[0];
        SID_NAME_USE use;
        if (LookupAccountNameW(NULL, userId, sid, &sidSize, domain, &domainLength, &use))
            same = EqualSid(me, sid);
    }
    LocalFree(me);
    return same;
}

int RemoveSharedStartupTask()
{
    TaskRoot& scheduler = ConnectedScheduler();
    if (scheduler.root == NULL)
        return 0;
    IRegisteredTask* task = scheduler.Find(kSharedTaskName);
    if (task == NULL)
        return 0;
    // Another user's task is theirs to keep; an elevated Setup must not
    // take it from them.
    int mine = 0;
    ITaskDefinition* definition = NULL;
    IPrincipal* principal = NULL;
    BSTR userId = NULL;
    if (SUCCEEDED(task->get_Definition(&definition)) &&
        SUCCEEDED(definition->get_Principal(&principal)) &&
        SUCCEEDED(principal->get_UserId(&userId)) && userId != NULL)
        mine = IsCurrentUser(userId);
    SysFreeString(userId);
    if (principal != NULL)
        principal->Release();
    if (definition != NULL)
        definition->Release();
    task->Release();
    return mine && scheduler.Delete(kSharedTaskName);
}
