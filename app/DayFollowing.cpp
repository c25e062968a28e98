// An open window follows the day: at midnight, when the clock is set, on
// waking from sleep, and when a start from the start-up list finds it open.
#include "../core/Application.h"
#include "OneWindow.h"

#ifndef PBT_APMRESUMESUSPEND
#define PBT_APMRESUMESUSPEND 0x0007
#endif
#ifndef PBT_APMRESUMEAUTOMATIC
#define PBT_APMRESUMEAUTOMATIC 0x0012
#endif

// While a dialog or a box is open, the table holds the record it works on
// in place: the day waits and is looked at again this often.
static const UINT kRetryMs = 1000;

void Application::ArmDayTimer()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    DWORD passed = ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
    // A second past midnight: a timer may fire a little early.
    DWORD untilMidnight = 24u * 3600u * 1000u - passed + 1000u;
    SetTimer(window, kDayTimer, untilMidnight, NULL);
}

void Application::FollowTheDay()
{
    if (!IsWindowEnabled(window)) {
        SetTimer(window, kDayTimer, kRetryMs, NULL);
        return;
    }
    DateRecord now;
    GetLocalTime((SYSTEMTIME*)&now);
    MoveToDay(&now);
    ArmDayTimer();
    if (!handOverWaiting)
        return;
    handOverWaiting = 0;
    // As a RUN start would have opened the window, and no more often.
    if (RunOnce && RunDate == DateStamp(&today))
        return;
    if (!HasDueReminders())
        return;
    RunDate = DateStamp(&today);
    BringToFront();
}

void Application::BringToFront()
{
    // Windows may refuse the foreground to a window that nobody clicked:
    // the taskbar button then flashes until the user looks.
    if (!BringMainWindowForward(window)) {
        FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
    }
}

void Application::OnTimer(WPARAM timerId)
{
    if (timerId == kDayTimer)
        FollowTheDay();
}

int Application::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMECHANGE ||
        (message == WM_POWERBROADCAST &&
         (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND))) {
        FollowTheDay();
        return 0; // on to the default handling
    }
    if (message != 0 && message == RunStartMessage()) {
        handOverWaiting = 1;
        FollowTheDay();
        return 1;
    }
    return MainWindow::OnMessage(message, wParam, lParam);
}

void Application::OnSize(WPARAM wParam, LPARAM lParam)
{
    MainWindow::OnSize(wParam, lParam);
    // A minimized Reminder-mode list is seen once the window is restored.
    NoteListShown();
}
