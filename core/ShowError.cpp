#include "ShowError.h"

#include "../controls/MessageBox.h"
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
    messageBox.Show(theApp.window, text, "Tarvendel", MB_OK | MB_ICONEXCLAMATION, NULL,
                    RGB(0, 0, 0), RGB(192, 192, 192), RGB(128, 128, 128));
}
