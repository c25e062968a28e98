// COM and the scheduler are loaded only when these run: at a save, at a
// start whose file moved the next alert, at an alert start.
#include "AlertTask.h"

#include "../core/BoundedString.h"
#include "StartupEntry.h"
#include "StartupTask.h"

#include <windows.h>

static const wchar_t kAlertTaskPrefix[] = L"Tarvendel-Alert-";

// YYYY-MM-DDTHH:MM:00 without a zone: the scheduler takes it as local time,
// and keeps to it when the clock moves to summer time.
static void FormatBoundary(AlertMinute when, wchar_t* out)
{
    DateRecord at;
    DateOfMinute(when, &at);
    const unsigned parts[] = {at.year, at.month, at.day, at.hour, at.minute};
    const wchar_t separators[] = {L'-', L'-', L'T', L':', L':'};
    wchar_t* p = out;
    for (int i = 0; i < 5; ++i) {
        int digits = i == 0 ? 4 : 2;
        for (int d = digits - 1; d >= 0; --d) {
            unsigned value = parts[i];
            for (int k = 0; k < d; ++k)
                value /= 10;
            *p++ = (wchar_t)(L'0' + value % 10);
        }
        *p++ = separators[i];
    }
    *p++ = L'0';
    *p++ = L'0';
    *p = L'\0';
}

int BuildAlertTaskDefinition(const wchar_t* programFile, const wchar_t* userId, AlertMinute when,
                             wchar_t* xml, size_t count)
{
    size_t length = 0;
    while (programFile[length] != L'\0')
        ++length;
    if (count == 0)
        return 0;
    xml[0] = L'\0';
    if (length + 2 > kLongestTaskCommand || when == 0)
        return 0;
    wchar_t boundary[24];
    FormatBoundary(when, boundary);
    const TaskXmlPiece pieces[] = {
        {L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         L"<RegistrationInfo><Description>Shows the reminders whose time has come."
         L"</Description></RegistrationInfo>\n"
         L"<Triggers>\n"
         L"<TimeTrigger><StartBoundary>",
         0},
        {boundary, 0},
        {L"</StartBoundary></TimeTrigger>\n"
         L"</Triggers>\n"
         L"<Principals><Principal id=\"User\"><UserId>",
         0},
        {userId, 1},
        {L"</UserId><LogonType>InteractiveToken</LogonType><RunLevel>LeastPrivilege</RunLevel>"
         L"</Principal></Principals>\n"
         // Missed while the computer was off or asleep, the alert comes at the
         // next chance; it never wakes a computer for it. An alert window left
         // open must not be ended, nor held back on battery.
         L"<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
         L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
         L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
         L"<StartWhenAvailable>true</StartWhenAvailable><WakeToRun>false</WakeToRun>"
         L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority></Settings>\n"
         L"<Actions Context=\"User\"><Exec><Command>\"",
         0},
        {programFile, 1},
        // An older version started by a task left behind takes any /R... for
        // a start from the start-up list.
        {L"\"</Command><Arguments>/RALERT</Arguments></Exec></Actions>\n"
         L"</Task>\n",
         0},
    };
    return WriteTaskXml(xml, count, pieces, sizeof pieces / sizeof pieces[0]);
}

int AlertTaskName(wchar_t* name, size_t count)
{
    wchar_t sid[SECURITY_MAX_SID_SIZE * 4];
    return CurrentUserSid(sid, sizeof sid / sizeof sid[0]) &&
           CopyWide(name, count, kAlertTaskPrefix) && AppendWide(name, count, sid);
}

int RegisterAlertTask(AlertMinute when, long* error)
{
    wchar_t user[SECURITY_MAX_SID_SIZE * 4];
    wchar_t name[kTaskNameLength];
    wchar_t program[MAX_PATH];
    static wchar_t xml[kTaskXmlLength];
    *error = E_INVALIDARG;
    if (!CurrentUserSid(user, sizeof user / sizeof user[0]) ||
        !AlertTaskName(name, kTaskNameLength) || !GetProgramFileWide(program, MAX_PATH) ||
        !BuildAlertTaskDefinition(program, user, when, xml, kTaskXmlLength))
        return 0;
    return RegisterTaskDefinition(name, xml, error);
}

int DeleteAlertTask(long* error)
{
    wchar_t name[kTaskNameLength];
    *error = E_INVALIDARG;
    return AlertTaskName(name, kTaskNameLength) && DeleteTaskNamed(name, error);
}

int AlertTaskExists()
{
    wchar_t name[kTaskNameLength];
    return AlertTaskName(name, kTaskNameLength) ? TaskNamedExists(name) : -1;
}
