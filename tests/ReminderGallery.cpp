// Shows the reminder dialog for a few seconds, then ends by itself: something
// to take a screenshot of. By default it edits a timed one-off reminder, so
// that every control is enabled and filled; "add" shows the Add form as the
// Add command opens it with AskTime off.
#include "app/ReminderDialog.h"
#include "core/Application.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "framework/WindowObject.h"
#include "support/Gallery.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    instanceHandle = instance;
    RegisterControlClasses();

    // December 2007 starts on a Saturday and fills all six rows of the grid.
    GetLocalTime((SYSTEMTIME*)&today);
    today.year = 2007;
    today.month = 12;
    today.day = 7;
    DateRecord& work = theApp.workDate;
    work = today;
    int isAdd = _stricmp(commandLine, "add") == 0;
    work.hour = isAdd ? 18 : 14;
    work.minute = isAdd ? 0 : 30;
    workEntry.annual = 0;
    workEntry.hasTime = isAdd ? 0 : 1;
    CopyText(workEntry.text, sizeof workEntry.text, isAdd ? "" : "Dentist, bring the forms");

    gallery::EndAfter(8);
    RunReminderDialog(NULL, isAdd, 0, &work);
    return 0;
}
