// Shows the alert window with three reminders of the same minute and one
// missed the evening before, then ends by itself: something to take a
// screenshot of.
#include "app/AlertWindow.h"
#include "core/Application.h"
#include "framework/WindowObject.h"
#include "support/Gallery.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    GetLocalTime((SYSTEMTIME*)&today);
    gallery::EndAfter(8);
    int choice = 1;
    alertWindow.ShowAlert("12/08/26  10:45 PM  Call Anna back\n"
                          "09:30 AM  Dentist, bring the forms\n"
                          "09:30 AM  Pay the rent\n"
                          "09:30 AM  Renew the parking permit",
                          &choice);
    return 0;
}
