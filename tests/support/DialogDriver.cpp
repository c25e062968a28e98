#include "DialogDriver.h"

#include "AppState.h"
#include "TestFiles.h"
#include "app/ProgramObjects.h"
#include "controls/CustomControl.h"
#include "controls/MessageBox.h"
#include "core/BoundedString.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

static DialogDriver* activeDriver;

DialogDriver::DialogDriver(const std::string& dialogCaption) : caption(dialogCaption) {}

DialogDriver::DialogDriver(MessageBoxWindow* ownBox) : box(ownBox) {}

int DialogDriver::Run(const std::function<int()>& open, const std::vector<Step>& script)
{
    steps = script;
    answered.clear();
    boxes.clear();
    boxTexts.clear();
    seenDialogs.clear();
    answeredWindows.clear();
    stepsRun = 0;
    dialogs = leftOpen = idleTicks = 0;
    started = GetTickCount();
    DialogDriver* outer = activeDriver;
    activeDriver = this;
    UINT_PTR timer = SetTimer(NULL, 0, tickMs, OnTimer);
    int result = open();
    KillTimer(NULL, timer);
    activeDriver = outer;
    return result;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeDriver != NULL)
        activeDriver->Tick();
}

// The window the steps act on, once no box of the program's waits for an answer.
HWND DialogDriver::Target()
{
    if (box != NULL)
        return box->window;
    HWND dialog = NULL;
    for (HWND window : VisibleThreadWindows()) {
        std::string name = ClassOf(window);
        if (name == "CMSGCLASS") {
            if (std::find(answeredWindows.begin(), answeredWindows.end(), window) ==
                answeredWindows.end()) {
                AnsweredWindow seen = DescribeWindow(window);
                answeredWindows.push_back(window);
                answered.push_back(seen);
                boxes.push_back(seen.caption + ": " + seen.text);
                boxTexts.push_back(seen.text);
                PressButton(window, boxAnswer, LocalText);
            }
            return NULL;
        }
        if (name == "#32770" && (caption.empty() || LocalText(window) == caption))
            dialog = window;
    }
    if (dialog != NULL &&
        std::find(seenDialogs.begin(), seenDialogs.end(), dialog) == seenDialogs.end()) {
        seenDialogs.push_back(dialog);
        ++dialogs;
    }
    return dialog;
}

void DialogDriver::Tick()
{
    if (GetTickCount() - started > 10000) {
        ADD_FAILURE() << "a modal window stayed open for ten seconds";
        started = GetTickCount();
        for (HWND window : VisibleThreadWindows())
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    HWND target = Target();
    if (target == NULL)
        return;
    if (stepsRun < steps.size()) {
        steps[stepsRun++](target);
    } else if (idleTicks++ == graceTicks) {
        ++leftOpen;
        PostMessageA(target, box != NULL ? WM_CLOSE : WM_COMMAND, box != NULL ? 0 : IDCANCEL, 0);
    } else if (box != NULL) {
        PostMessageA(target, WM_CLOSE, 0, 0);
    }
}

void ProgramWindowTest::SetUpTestSuite()
{
    static int opened; // the window outlives a suite's run
    instanceHandle = GetModuleHandleA(NULL);
    RegisterControlClasses();
    if (!opened)
        opened = theApp.OpenMainWindow(SW_SHOWNORMAL);
    ASSERT_EQ(1, opened);
}

void ProgramWindowTest::SetUp()
{
    ResetApplication();
    today = MakeDate(2006, 12, 7);
    today.dayOfWeek = 4;
    folder = NewTempFolder();
    CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, (folder + "Tarvendel.dat").c_str());
    LoadText("");
    ASSERT_EQ(1, theApp.BuildEntryTable());
}

void ProgramWindowTest::TearDown()
{
    SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_NORMAL); // a test made it read-only
    RemoveTree(folder);
}

Step Press(int id)
{
    return [id](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    };
}

Step Click(int id)
{
    return [id](HWND dialog) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); };
}

Step Type(int id, const std::string& text)
{
    return [id, text](HWND dialog) { SetDlgItemTextA(dialog, id, text.c_str()); };
}

Step Key(WPARAM key)
{
    return [key](HWND) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    };
}

void SetChecked(HWND dialog, int id, int checked)
{
    if ((IsDlgButtonChecked(dialog, id) == BST_CHECKED) != (checked != 0))
        SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

// Only where the lists are enabled, as for a user: under Wine a click on a
// disabled automatic radio button never returns.
Step PickTime(int hour, int minute)
{
    return [hour, minute](HWND dialog) {
        if (!IsWindowEnabled(GetDlgItem(dialog, IDC_AM)))
            return;
        SendDlgItemMessageA(dialog, IDC_HOUR, CB_SETCURSEL, (hour + 11) % 12, 0);
        SendDlgItemMessageA(dialog, IDC_MINUTE, CB_SETCURSEL, minute / 5, 0);
        SendDlgItemMessageA(dialog, hour >= 12 ? IDC_PM : IDC_AM, BM_CLICK, 0, 0);
    };
}

HWND Calendar(HWND dialog)
{
    return GetDlgItem(dialog, IDC_CALENDAR);
}

void ChooseInList(HWND dialog, int listId, int index)
{
    HWND list = GetDlgItem(Calendar(dialog), listId);
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(Calendar(dialog), WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), (LPARAM)list);
}

Step PickDate(int year, int month, int day)
{
    return [year, month, day](HWND dialog) {
        if (year != 0)
            ChooseInList(dialog, kYearSelectorId, year - reminderDialog.calendar.firstYear);
        ChooseInList(dialog, kMonthSelectorId, month - 1);
        RECT cell = reminderDialog.calendar.CellOf(day);
        int x = (cell.left + cell.right) / 2, y = (cell.top + cell.bottom) / 2;
        SendMessageA(Calendar(dialog), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    };
}

RECT RectIn(HWND child, HWND parent)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEXTMETRICA FontMetrics(HFONT font, HWND window)
{
    HDC dc = window != NULL ? GetDC(window) : CreateICA("DISPLAY", NULL, NULL, NULL);
    HGDIOBJ previous = font != NULL ? SelectObject(dc, font) : NULL;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (previous != NULL)
        SelectObject(dc, previous);
    if (window != NULL)
        ReleaseDC(window, dc);
    else
        DeleteDC(dc);
    return metrics;
}

std::string StatusText(HWND bar, int index, int* type)
{
    char text[256] = "";
    LRESULT result = SendMessageA(bar, SB_GETTEXTA, index, (LPARAM)text);
    if (type != nullptr)
        *type = HIWORD(result);
    return text;
}

std::string ComboItem(HWND combo, int index)
{
    char text[64] = "";
    if (index < 0)
        index = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index >= 0)
        SendMessageA(combo, CB_GETLBTEXT, index, (LPARAM)text);
    return text;
}

long GdiObjects()
{
    long count = (long)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count == 0)
        for (ULONG_PTR h = 1; h < 0x10000; ++h)
            count += GetObjectType((HGDIOBJ)h) != 0;
    return count;
}

Canvas::Canvas(int w, int h, COLORREF colour) : width(w), height(h), dc(CreateCompatibleDC(NULL))
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    previous = SelectObject(dc, bitmap);
    Fill(colour);
}

Canvas::~Canvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void Canvas::Fill(COLORREF colour)
{
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}
