#include "InfoDialog.h"

#include "../controls/AboutBox.h"
#include "../core/Application.h"
#include "../framework/CentreWindow.h"
#include "../framework/WindowObject.h"
#include "../resources/DialogIds.h"
#include "../resources/resource.h"

const char kHelpText[] =
    "         *** Tarvendel ***\r\n"
    "\r\n"
    "Purpose:\r\n"
    "\r\n"
    "This program is used to remind the user of special events or annual events. At startup "
    "this program will review all the entries and display the program if any of the entries "
    "are within the user selected range.\r\n"
    "\r\n"
    "Setup:\r\n"
    "\r\n"
    "Click the Setup button to select your options.\r\n"
    "\r\n"
    "The \"Run at startup\" checkbox will add the program to the \"Run\" folder. This will "
    "start the program and review the entries to see if any events are coming up.\r\n"
    "\r\n"
    "If \"Run only once a day\" is checked the program will only run the first time the "
    "computer is booted.\r\n"
    "\r\n"
    "If \"Always run once a day\" is checked then the program will run even  though there are "
    "no events coming up.\r\n"
    "\r\n"
    "If \"Remove old entries\" is checked then any entries that are not annual events will be "
    "removed when they become out of date.\r\n"
    "\r\n"
    "If \"Always ask for time\" is checked then the \"Include time\" checkbox will always be "
    "checked.\r\n"
    "\r\n"
    "You can resize the window and position it where you would like it on the screen and the "
    "next time the program is run the window will be in the same position.";

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_HELP_TEXT, kHelpText);
        CentreWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        // OK and Enter send IDOK; Escape and the close box IDCANCEL.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void RunInfoDialog(HWND owner)
{
    DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_INFO), owner, InfoDialogProc,
                    reinterpret_cast<LPARAM>(&theApp));
}

void ShowAboutBox(HWND owner)
{
    // The link stands where a caption would: the box shows it under the text.
    aboutBox.Show(owner, "Tarvendel - Version 1.32\nReminders of special days and annual events",
                  "https://tarvendel.example.org/", 0, MAKEINTRESOURCEA(IDI_TARVENDEL),
                  RGB(0, 0, 0), RGB(192, 192, 192), RGB(128, 128, 128));
}
