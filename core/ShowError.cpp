#include "ShowError.h"

#include "Application.h"
#include "BoundedString.h"

void ShowError(const char* message, const char* detail)
{
    char text[300];
    CopyText(text, sizeof text, message);
    if (detail != NULL && detail[0] != '\0') {
        AppendText(text, sizeof text, "\n");
        AppendText(text, sizeof text, detail);
    }
    MessageBoxA(theApp.window, text, "Tarvendel", MB_OK | MB_ICONEXCLAMATION);
}
