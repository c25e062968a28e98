#include "MainWindow.h"

#include "ButtonBar.h"
#include "ControlObject.h"
#include "StatusBar.h"

#include <commctrl.h>

static int mainClassRegistered;
static const char kMainClassName[] = "MainClass";

MainWindow::MainWindow()
    : accelerators(NULL), clientWidth(0), clientHeight(0), barHeight(0), buttonBar(NULL),
      statusBar(NULL), listBox(NULL)
{
    windowStyle = WS_OVERLAPPEDWINDOW;
}

int MainWindow::CanClose() { return 1; }
int MainWindow::RestorePlacement() { return 0; }

void MainWindow::OnAfterDestroy() { PostQuitMessage(0); }

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

    HDC display = CreateICA("DISPLAY", NULL, NULL, NULL);
    if (display == NULL)
        return 0;
    TEXTMETRICA metrics;
    int measured = GetTextMetricsA(display, &metrics);
    DeleteDC(display);
    if (!measured)
        return 0;

    RECT client;
    GetClientRect(window, &client);
    barHeight = metrics.tmHeight + 12;
    if (!buttonBar->CreateBar(window, 0, 0, client.right, barHeight))
        return 0;

    listBox->exStyle = WS_EX_CLIENTEDGE;
    return listBox->Create(window, 0, "", CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT);
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
