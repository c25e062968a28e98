#include "SetupDialog.h"

#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../core/DateTime.h"
#include "../core/ShowError.h"
#include "../framework/CentreWindow.h"
#include "../framework/WindowObject.h"
#include "../resources/DialogIds.h"
#include "../resources/resource.h"
#include "StartupEntry.h"

namespace {

const int kRangeTextLimit = 18;

// Only one Setup dialog is ever open, so plain statics carry what the
// procedure needs between its messages.
Application* setupApp;
unsigned startupWhenOpened;

int IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

void SetCheck(HWND dialog, int id, int value)
{
    CheckDlgButton(dialog, id, value ? BST_CHECKED : BST_UNCHECKED);
}

// The once-a-day options only mean something for a start from the start-up
// list; their marks stay as they are while greyed.
void EnableOnceADay(HWND dialog)
{
    BOOL enable = IsChecked(dialog, IDC_RUN_AT_STARTUP) ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IDC_RUN_ONCE), enable);
    EnableWindow(GetDlgItem(dialog, IDC_ALWAYS_RUN), enable);
}

INT_PTR OnInitDialog(HWND dialog, Application* app)
{
    setupApp = app;
    SendDlgItemMessageA(dialog, IDC_RANGE, EM_LIMITTEXT, kRangeTextLimit, 0);
    char number[24];
    FormatSigned(number, sizeof number, app->Range);
    SetDlgItemTextA(dialog, IDC_RANGE, number);
    startupWhenOpened = app->runAtStartup;

    SetCheck(dialog, IDC_RUN_AT_STARTUP, app->runAtStartup != 0);
    SetCheck(dialog, IDC_RUN_ONCE, app->RunOnce);
    SetCheck(dialog, IDC_ALWAYS_RUN, app->AlwaysRun);
    SetCheck(dialog, IDC_AUTO_REMOVE, app->AutoRemove);
    SetCheck(dialog, IDC_ASK_TIME, app->AskTime);
    SetCheck(dialog, IDC_TIME_COL, app->TimeCol);
    SetCheck(dialog, IDC_ALERTS, app->Alerts);
    EnableOnceADay(dialog);
    CentreWindow(dialog);
    return TRUE;
}

// An accepted OK ends the dialog; a range outside 1..20 keeps it open with
// the text as typed and every setting as it was.
INT_PTR OnOk(HWND dialog)
{
    char text[kRangeTextLimit + 1];
    GetDlgItemTextA(dialog, IDC_RANGE, text, sizeof text);
    // Saturated, not wrapped: digits past the 32-bit range must not come
    // round into 1..20 (4294967303 would otherwise read as 7).
    long range = LeadingNumber(text);
    if (range < 1 || range > 20) {
        ShowError("Range must be 1 to 20", "");
        return TRUE;
    }

    Application* app = setupApp;
    app->Range = (int)range;
    app->runAtStartup = (unsigned)IsChecked(dialog, IDC_RUN_AT_STARTUP);
    app->RunOnce = IsChecked(dialog, IDC_RUN_ONCE);
    app->AlwaysRun = IsChecked(dialog, IDC_ALWAYS_RUN);
    app->AutoRemove = IsChecked(dialog, IDC_AUTO_REMOVE);
    app->AskTime = IsChecked(dialog, IDC_ASK_TIME);
    int timeCol = IsChecked(dialog, IDC_TIME_COL);
    int timeColChanged = timeCol != app->TimeCol;
    app->TimeCol = timeCol;

    // The start-up entry is the one option written at once; the others wait
    // for the settings to be saved at exit. Ticked, it is written again even
    // unchanged: a program moved, renamed or upgraded is one OK from working.
    if (app->runAtStartup || startupWhenOpened)
        app->ApplyRunAtStartup();
    int alerts = IsChecked(dialog, IDC_ALERTS);
    if (alerts != app->Alerts) {
        app->Alerts = alerts;
        // At once, as the task it sets or removes: an alert start meanwhile
        // must see the same.
        app->SaveAlertSwitch();
        app->RearmFromTable();
    }
    EndDialog(dialog, timeColChanged);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, reinterpret_cast<Application*>(lParam));
    if (message != WM_COMMAND || setupApp == NULL)
        return FALSE;

    switch (LOWORD(wParam)) {
    case IDC_RUN_AT_STARTUP:
        EnableOnceADay(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDOK:
        return OnOk(dialog);
    }
    return FALSE;
}

int RunSetupDialog(HWND owner)
{
    // As the system has it now: a cleaner may have taken the Run value, the
    // user may have turned the program off in the system's start-up list.
    theApp.runAtStartup = (unsigned)StartupIsOn();
    INT_PTR result = DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_SETUP), owner,
                                     SetupDialogProc, reinterpret_cast<LPARAM>(&theApp));
    return result == 1 ? 1 : 0;
}
