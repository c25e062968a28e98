#include "MainWindow.h"

#include "ButtonBar.h"
#include "ControlObject.h"
#include "DpiScale.h"
#include "StatusBar.h"

#include <commctrl.h>

static int mainClassRegistered;
static const char kMainClassName[] = "MainClass";

MainWindow::MainWindow()
    : accelerators(NULL), dpi(kBaseDpi), placing(0), fixedListFont(0), listFont(NULL),
      listFontOwned(0), barFont(NULL), barFontOwned(0), clientWidth(0), clientHeight(0), barHeight(0), buttonBar(NULL),
      statusBar(NULL), listBox(NULL)
{
    windowStyle = WS_OVERLAPPEDWINDOW;
}

int MainWindow::CanClose() { return 1; }
int MainWindow::RestorePlacement() { return 0; }

void MainWindow::OnAfterDestroy()
{
    // The children are gone: nothing uses the fonts any more.
    ReleaseFont(&listFont, &listFontOwned);
    ReleaseFont(&barFont, &barFontOwned);
    PostQuitMessage(0);
}

int MainWindow::RegisterWindowClass()
{
    WNDCLASSA description = {};
    description.style = CS_BYTEALIGNCLIENT;
    description.lpfnWndProc = SharedWindowProc;
    description.cbWndExtra = 4;
    description.hInstance = instanceHandle;
    description.hIcon = LoadIconA(NULL, MAKEINTRESOURCEA(32512));     // IDI_APPLICATION
    description.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    // The children cover the whole client area; erasing under them would flicker.
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    description.lpszClassName = kMainClassName;
    return RegisterClassOnce(&mainClassRegistered, description, this);
}

void MainWindow::OnClose()
{
    if (CanClose())
        Destroy();
}

int MainWindow::OnCreate()
{
    INITCOMMONCONTROLSEX classes;
    classes.dwSize = sizeof classes;
    classes.dwICC = 0xFF;
    InitCommonControlsEx(&classes);
    return statusBar != NULL && statusBar->CreateStatus(window);
}

// While a box or dialog of the program is open (it disables this window) the
// question cannot be asked and what is being typed would be lost: the end of
// the session is refused.
int MainWindow::OnQueryEndSession() { return IsWindowEnabled(window) && CanClose(); }

void MainWindow::OnSetFocus()
{
    if (listBox != NULL)
        SetFocus(listBox->window);
}

void MainWindow::OnSize(WPARAM wParam, LPARAM lParam)
{
    clientWidth = LOWORD(lParam);
    clientHeight = HIWORD(lParam);
    if (statusBar != NULL)
        statusBar->ResizeParts(wParam, lParam);
    Layout();
}

int MainWindow::CreateMain(ListBoxControl* list, ButtonBar* bar, StatusBar* status)
{
    listBox = list;
    buttonBar = bar;
    statusBar = status;
    RegisterWindowClass();

    CREATESTRUCTA create = {};
    create.lpszClass = kMainClassName;
    create.lpszName = "";
    create.style = (LONG)windowStyle;
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    PreCreateWindow(create);
    // Created hidden: its first WM_SIZE, and with it the first layout, comes
    // with the first show, when all three children exist.
    window = CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName, (DWORD)create.style,
                             create.x, create.y, create.cx, create.cy, NULL, NULL, instanceHandle,
                             this);
    if (window == NULL)
        return 0;

    if (!MakeFonts(DpiOf(window)))
        return 0;

    RECT client;
    GetClientRect(window, &client);
    if (!buttonBar->CreateBar(window, 0, 0, client.right, barHeight))
        return 0;
    buttonBar->dpi = dpi;

    listBox->exStyle = WS_EX_CLIENTEDGE;
    return listBox->Create(window, 0, "", CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT);
}

int MainWindow::MakeFonts(int newDpi)
{
    HFONT oldList = listFont;
    int oldListOwned = listFontOwned;
    HFONT oldBar = barFont;
    int oldBarOwned = barFontOwned;
    dpi = newDpi;
    listFont = StockFontForDpi(SYSTEM_FIXED_FONT, dpi, &listFontOwned);
    barFont = StockFontForDpi(SYSTEM_FONT, dpi, &barFontOwned);

    // The buttons are as high as the text of the bar's font (the display's
    // default) and some room.
    HDC display = CreateICA("DISPLAY", NULL, NULL, NULL);
    int measured = 0;
    TEXTMETRICA metrics;
    if (display != NULL) {
        HGDIOBJ previous = SelectObject(display, barFont);
        measured = GetTextMetricsA(display, &metrics);
        SelectObject(display, previous);
        DeleteDC(display);
    }
    if (measured)
        barHeight = metrics.tmHeight + ScaleLength(12, dpi);

    // The children are switched to the new fonts before the old ones go.
    // The stock fonts are left to the windows' own choice, so that at
    // 96 DPI nothing differs from a window that never changed scale.
    if (fixedListFont && listBox != NULL && listBox->window != NULL)
        SendMessageA(listBox->window, WM_SETFONT, (WPARAM)listFont, FALSE);
    if (buttonBar != NULL)
        buttonBar->SetFont(barFontOwned ? barFont : NULL);
    if (oldListOwned && oldList != listFont)
        DeleteObject(oldList);
    if (oldBarOwned && oldBar != barFont)
        DeleteObject(oldBar);
    return measured;
}

// The list first measured its lines in the system font of the screen's DPI,
// its default; the taller of that font at the new DPI and the list's own
// comes back to the first height at the screen's DPI.
void MainWindow::FitListLines()
{
    if (listBox == NULL || listBox->window == NULL)
        return;
    HFONT own = (HFONT)SendMessageA(listBox->window, WM_GETFONT, 0, 0);
    HDC display = CreateICA("DISPLAY", NULL, NULL, NULL);
    if (display == NULL)
        return;
    int height = 0;
    const HFONT fonts[] = {barFont, own != NULL ? own : barFont};
    for (HFONT font : fonts) {
        TEXTMETRICA metrics;
        HGDIOBJ previous = SelectObject(display, font);
        if (GetTextMetricsA(display, &metrics) && metrics.tmHeight > height)
            height = metrics.tmHeight;
        SelectObject(display, previous);
    }
    DeleteDC(display);
    if (height > 0)
        SendMessageA(listBox->window, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

void MainWindow::UseFixedListFont()
{
    fixedListFont = 1;
    if (listBox != NULL)
        SendMessageA(listBox->window, WM_SETFONT, (WPARAM)listFont, FALSE);
    // Where the fixed font is the taller (it is not at 96 DPI), its lines
    // would be cut.
    FitListLines();
}

void MainWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    int newDpi = LOWORD(wParam);
    if (newDpi <= 0)
        return;
    MakeFonts(newDpi);
    FitListLines();
    if (statusBar != NULL)
        statusBar->FollowDpi(dpi);
    if (buttonBar != NULL)
        buttonBar->Rescale(dpi, barHeight);
    if (!placing)
        TakeSuggestedRect(window, lParam);
    // The status window takes its height from its font; a new size of the
    // main window brings it WM_SIZE and, with it, new part edges.
    RECT client;
    GetClientRect(window, &client);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    InvalidateRect(window, NULL, TRUE);
}

void MainWindow::ShowMain(int showCommand)
{
    if (!RestorePlacement())
        ShowWindow(window, showCommand);
    UpdateWindow(window);
}

void MainWindow::Layout()
{
    if (buttonBar == NULL || statusBar == NULL || listBox == NULL)
        return;
    int statusHeight = statusBar->StatusHeight();
    int top = buttonBar->shown ? barHeight : 0;
    int reserved = top + statusHeight;

    // One batch, so a resize repaints once.
    HDWP batch = BeginDeferWindowPos(3);
    if (batch != NULL)
        batch = DeferWindowPos(batch, buttonBar->window, HWND_TOP, 0, 0, clientWidth, top,
                               SWP_SHOWWINDOW);
    if (batch != NULL)
        batch = DeferWindowPos(batch, listBox->window, HWND_TOP, 0, top, clientWidth,
                               clientHeight - reserved, SWP_SHOWWINDOW);
    if (batch != NULL)
        batch = DeferWindowPos(batch, statusBar->window, HWND_TOP, 0, clientHeight - statusHeight,
                               clientWidth, statusHeight, SWP_SHOWWINDOW);
    if (batch != NULL)
        EndDeferWindowPos(batch);
}

int MainWindow::SetAccelerators(int resourceId)
{
    accelerators = LoadAcceleratorsA(instanceHandle, MAKEINTRESOURCEA(resourceId));
    return accelerators != NULL;
}

int MainWindow::RunMessageLoop()
{
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == 0)
            return (int)message.wParam;
        // A failing queue would fail again at once; ending beats spinning.
        if (got == -1)
            return -1;
        // Whichever window the key is for, accelerators go to the main
        // window, so Alt+letter works from the list and from the buttons.
        if (accelerators != NULL && TranslateAcceleratorA(window, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
