// Writes the task definitions the program would register, for
// task-schema-test.sh to check against the Task Scheduler's schema: Wine
// stores a task without reading it, so the text itself is what is tested.
//
//   TaskDefinitions.exe FOLDER
//
// Each definition goes to FOLDER\NAME.xml exactly as it is handed to the
// scheduler: UTF-16, as its declaration says, after a byte-order mark.
#include "app/AlertTask.h"
#include "app/StartupTask.h"

#include <windows.h>

#include <stdio.h>
#include <string>

namespace {

int WriteDefinition(const std::wstring& folder, const wchar_t* name, const wchar_t* xml)
{
    std::wstring path = folder + L"\\" + name + L".xml";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const wchar_t bom = 0xFEFF;
    DWORD written = 0;
    DWORD size = (DWORD)(wcslen(xml) * sizeof(wchar_t));
    int ok = WriteFile(file, &bom, sizeof bom, &written, NULL) &&
             WriteFile(file, xml, size, &written, NULL) && written == size;
    CloseHandle(file);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: TaskDefinitions FOLDER\n");
        return 2;
    }
    wchar_t sid[256];
    if (!CurrentUserSid(sid, 256)) {
        fprintf(stderr, "TaskDefinitions: no SID for this user\n");
        return 1;
    }
    // The longest path whose command the scheduler still takes: 260
    // characters with its quotes.
    std::wstring longest = L"C:\\Long Folder\\" + std::wstring(260 - 2 - 29, L'x') + L"\\Tarvendel.exe";
    const struct {
        const wchar_t* name;
        std::wstring program;
    } cases[] = {
        {L"plain", L"C:\\Apps\\Tarvendel.exe"},
        {L"blank", L"C:\\Program Files\\Tarvendel\\Tarvendel.exe"},
        {L"renamed", L"C:\\Users\\Ann\\Downloads\\Tarvendel (1).exe"},
        {L"markup", L"C:\\Tom's Tools & <Co>\\Tarvendel.exe"},
        {L"cyrillic", L"C:\\\x041F\x0440\x043E\x0433\x0440\x0430\x043C\x043C\x044B\\Tarvendel.exe"},
        {L"polish", L"C:\\\x0141\x00F3\x0064\x017A\\Tarvendel.exe"},
        {L"longest", longest},
    };
    static wchar_t xml[kTaskXmlLength];
    int failures = 0;
    for (const auto& c : cases) {
        if (!BuildTaskDefinition(c.program.c_str(), sid, xml, kTaskXmlLength) ||
            !WriteDefinition(argv[1], c.name, xml)) {
            fwprintf(stderr, L"TaskDefinitions: no definition for %ls\n", c.name);
            ++failures;
        }
    }
    // One character more and the scheduler would refuse the command: the
    // program must not hand it over at all.
    std::wstring tooLong = L"C:\\Long Folder\\" + std::wstring(260 - 2 - 28, L'x') + L"\\Tarvendel.exe";
    if (BuildTaskDefinition(tooLong.c_str(), sid, xml, kTaskXmlLength)) {
        fprintf(stderr, "TaskDefinitions: a command longer than 260 characters was written\n");
        ++failures;
    }
    // The alert task's, at a time of each kind: a day before ten, the last
    // minute of a leap day, a year's last minute.
    const struct {
        const wchar_t* name;
        std::wstring program;
        DateRecord when;
    } alerts[] = {
        {L"alert-plain", L"C:\\Apps\\Tarvendel.exe", {2026, 12, 0, 9, 9, 5, 0, 1}},
        {L"alert-blank", L"C:\\Program Files\\Tarvendel\\Tarvendel.exe", {2028, 2, 0, 29, 23, 59, 0, 1}},
        {L"alert-markup", L"C:\\Tom's Tools & <Co>\\Tarvendel.exe", {2049, 12, 0, 31, 23, 59, 0, 1}},
        {L"alert-longest", longest, {2030, 1, 0, 1, 0, 0, 0, 1}},
    };
    for (const auto& a : alerts) {
        if (!BuildAlertTaskDefinition(a.program.c_str(), sid, MinuteOf(&a.when), xml,
                                      kTaskXmlLength) ||
            !WriteDefinition(argv[1], a.name, xml)) {
            fwprintf(stderr, L"TaskDefinitions: no definition for %ls\n", a.name);
            ++failures;
        }
    }
    if (BuildAlertTaskDefinition(tooLong.c_str(), sid, MinuteOf(&alerts[0].when), xml,
                                 kTaskXmlLength) ||
        BuildAlertTaskDefinition(L"C:\\Apps\\Tarvendel.exe", sid, 0, xml, kTaskXmlLength)) {
        fprintf(stderr, "TaskDefinitions: an alert task too long or for no time was written\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
