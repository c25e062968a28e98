// The list's context menu, and the calendar commands it gives with their
// standard file dialogs.
#include "../core/Application.h"
#include "../core/BoundedString.h"
#include "../framework/ControlObject.h"
#include "../resources/resource.h"
#include "CalendarFiles.h"

#include <commdlg.h>

void ShowListMenu(HWND owner, HWND list, LPARAM where)
{
    POINT point = {(short)LOWORD(where), (short)HIWORD(where)};
    // From the keyboard (Shift+F10, the menu key): under the selected line,
    // or at the list's corner.
    if (where == -1) {
        RECT line = {0, 0, 0, 0};
        LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR || SendMessageA(list, LB_GETITEMRECT, (WPARAM)selected, (LPARAM)&line) == LB_ERR)
            line.bottom = 0;
        point.x = line.left + 8;
        point.y = line.bottom;
        ClientToScreen(list, &point);
    }
    HMENU menu = CreatePopupMenu();
    if (menu == NULL)
        return;
    AppendMenuW(menu, MF_STRING, IDM_EXPORT_CALENDAR, L"&Export to calendar file\u2026");
    AppendMenuW(menu, MF_STRING, IDM_IMPORT_CALENDAR, L"&Import from calendar or contacts file\u2026");
    // The choice arrives as WM_COMMAND, as the buttons' commands do.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, NULL);
    DestroyMenu(menu);
}

void Application::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (listBox != NULL && (HWND)wParam == listBox->window)
        ShowListMenu(window, listBox->window, lParam);
}

static int AskForFile(HWND owner, char* path, int save)
{
    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathSize;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (save) {
        dialog.lpstrFilter = "Calendar files (*.ics)\0*.ics\0All files (*.*)\0*.*\0";
        dialog.lpstrDefExt = "ics";
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        return GetSaveFileNameA(&dialog);
    }
    dialog.lpstrFilter =
        "Calendar and contacts files (*.ics, *.vcf)\0*.ics;*.vcf\0All files (*.*)\0*.*\0";
    dialog.Flags |= OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog);
}

void ExportWithDialog(HWND owner)
{
    char path[kPathSize];
    CopyText(path, sizeof path, "Tarvendel.ics");
    if (AskForFile(owner, path, 1))
        ExportCalendarFile(path);
}

void ImportWithDialog(HWND owner)
{
    char path[kPathSize] = "";
    CalendarImportCounts counts;
    if (AskForFile(owner, path, 0))
        ImportCalendarFile(owner, path, &counts);
}
