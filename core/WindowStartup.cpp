// The visible half of the start-up: the main window with its bar, list and
// status bar, the reminders, and the message loop.
#include "../app/CalendarFiles.h"
#include "../app/OneWindow.h"
#include "../app/ProgramObjects.h"
#include "../controls/CustomControl.h"
#include "../resources/resource.h"
#include "Application.h"

#include <commctrl.h>

// The long-lived bar, list and status objects are the globals; the members of
// the same names point to them once CreateMain has run.
int Application::OpenMainWindow(int showCommand)
{
    ::statusBar.SetPartCount(4);
    ::statusBar.AddPart(7, SBT_NOBORDERS);
    ::statusBar.AddPart(20, 0);
    ::statusBar.AddPart(6, 0);
    ::statusBar.AddPart(6, 0);
    RegisterControlClasses();

    ::listBox.windowStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                          LBS_HASSTRINGS | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT;
    // Another start may have opened its window since this one looked.
    if (!ClaimMainWindow()) {
        if (reminderMode)
            HandRunStartOver();
        else
            ShowOpenMainWindow();
        return 0;
    }
    if (!CreateMain(&::listBox, &::buttonBar, &::statusBar))
        return 0;
    MarkMainWindow(window);
    SetWindowIcons();
    // Fixed pitch, so that the columns of the list line up.
    UseFixedListFont();
    // Enter, Delete and Insert reach the commands through the main window.
    ::listBox.ReportKeys();

    static const struct {
        const char* caption;
        int commandId;
    } buttons[] = {{"&Add", IDM_ADD},   {"&Edit", IDM_EDIT},   {"&Remove", IDM_REMOVE},
                   {"&Save", IDM_SAVE}, {"&Mode", IDM_MODE},   {"Set&up", IDM_SETUP},
                   {"&Info", IDM_INFO}, {"A&bout", IDM_ABOUT}, {"E&xit", IDM_EXIT}};
    ::buttonBar.SetButtonCount(9);
    int added = 0;
    for (const auto& button : buttons)
        added = ::buttonBar.AddButton(button.caption, 60, button.commandId, 0, "");
    if (!added)
        return -1;

    ShowMain(showCommand);
    return 1;
}

int Application::StartWindows(int showCommand)
{
    int opened = OpenMainWindow(showCommand);
    if (opened != 1)
        return opened;
    if (!BuildEntryTable())
        return 0;
    ArmDayTimer();
    RunCommandLineImport();
    SetAccelerators(IDR_ACCELERATORS);
    return RunMessageLoop();
}

// Only now that the data file and the settings have been written may another
// start open a window.
void Application::OnAfterDestroy()
{
    ReleaseMainWindow();
    // The window that showed them is gone.
    if (bigIconOwned)
        DestroyIcon(bigIcon);
    if (smallIconOwned)
        DestroyIcon(smallIcon);
    bigIcon = smallIcon = NULL;
    bigIconOwned = smallIconOwned = 0;
    MainWindow::OnAfterDestroy();
}
