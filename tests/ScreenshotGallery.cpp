// Shows one of the program's windows for the screenshot script, then ends by
// itself: error, question, about, empty (the main window without reminders)
// or main (with a dozen).
#include "app/ProgramObjects.h"
#include "resources/resource.h"
#include "support/Gallery.h"

#include <commctrl.h>
#include <string.h>

#include <string>

// A dozen reminders around today, today's among them and another selected.
static void ShowMainWindow(int empty)
{
    GetLocalTime((SYSTEMTIME*)&today);
    if (theApp.OpenMainWindow(SW_SHOWNORMAL) != 1)
        ExitProcess(2);
    char todayText[10];
    FormatDate(&today, todayText, sizeof todayText);
    const std::string file = empty ? std::string() : std::string(todayText) + "\t09:30 Dentist\r\n"
        "12/25 Christmas\r\n01/01 New year\r\n02/14\tValentine's dinner\r\n"
        "03/15/27\t14:30 Car service\r\n04/01 Anna's birthday\r\n05/20/27 Pay the insurance\r\n"
        "07/04\t09:00 Parade\r\n08/12 Paul's birthday\r\n10/31 Halloween party\r\n"
        "11/26/26\t18:00 Dinner with Mum & Dad\r\n12/10/26 Renew passport\r\n";
    theApp.textBufferSize = (int)file.size() + 5000;
    theApp.textBuffer = (char*)GlobalAlloc(GPTR, (SIZE_T)theApp.textBufferSize);
    memcpy(theApp.textBuffer, file.data(), file.size());
    theApp.BuildEntryTable();
    SendMessageA(listBox.window, LB_SETCURSEL, 3, 0);
    theApp.SetAccelerators(IDR_ACCELERATORS);
    theApp.RunMessageLoop();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    instanceHandle = instance;
    handCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    gallery::EndAfter(8);
    const COLORREF grey = RGB(192, 192, 192), frame = RGB(128, 128, 128);
    if (strstr(commandLine, "error") != NULL)
        messageBox.Show(NULL, "Can't open file\nC:\\users\\me\\AppData\\Roaming\\PellixFreeware\\Tarvendel\\Tarvendel.dat",
                        "Tarvendel", MB_OK | MB_ICONEXCLAMATION, NULL, 0, grey, frame);
    else if (strstr(commandLine, "question") != NULL)
        messageBox.Show(NULL, "Save data?", "Tarvendel", MB_YESNOCANCEL | MB_ICONQUESTION, NULL, 0,
                        grey, frame);
    else if (strstr(commandLine, "about") != NULL)
        aboutBox.Show(NULL, "Tarvendel - Version 1.32", "https://tarvendel.example.org/", 0,
                      MAKEINTRESOURCEA(IDI_TARVENDEL), 0, grey, frame);
    else
        ShowMainWindow(strstr(commandLine, "empty") != NULL);
    return 0;
}
