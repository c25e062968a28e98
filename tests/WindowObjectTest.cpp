// Window objects bound to real windows: the dispatcher's results and defaults.
#include "app/ProgramObjects.h"
#include "framework/ControlObject.h"
#include "framework/WindowObject.h"
#include "support/ModalAnswerer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the handlers the dispatcher calls.
class Probe : public WindowObject {
public:
    Probe() { windowStyle = WS_OVERLAPPEDWINDOW; }

    int RegisterWindowClass() override
    {
        static int registered;
        WNDCLASSA description = {};
        description.lpfnWndProc = SharedWindowProc;
        description.cbWndExtra = 4;
        description.hInstance = instanceHandle;
        description.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
        description.lpszClassName = "ProbeClass";
        return RegisterClassOnce(&registered, description, this);
    }
    int Make()
    {
        RegisterWindowClass();
        return CreateOwnWindow("ProbeClass", NULL, NULL, "Probe", 10, 10, 200, 150);
    }

    int OnCreate() override { return createResult; }
    void OnClose() override { Log("OnClose"); }
    void OnDestroy() override { Log("OnDestroy"); }
    int SaveState() override { return Log("SaveState"), 0; }
    void OnAfterDestroy() override { Log("OnAfterDestroy"); }
    void OnSysKeyDown(WPARAM, LPARAM) override { Log("OnSysKeyDown"); }
    void OnEndSession(WPARAM, LPARAM) override { Log("OnEndSession"); }
    void OnNotify(WPARAM, LPARAM) override { Log("OnNotify"); }
    int OnMessage(UINT message, WPARAM, LPARAM) override
    {
        if (message == WM_SYSCHAR)
            Log("OnMessage WM_SYSCHAR");
        return message == WM_GETTEXTLENGTH && claimTextLength;
    }

    void Log(const char* what) { calls.push_back(std::string(what) + (window ? "" : " unbound")); }

    int createResult = 1;
    int claimTextLength = 0;
    std::vector<std::string> calls;
};

class Notifier : public ButtonControl {
public:
    LRESULT OnNotify(NMHDR* header) override { return header->code == 1234 ? 77 : 0; }
};

class WindowObjects : public ::testing::Test {
protected:
    void SetUp() override { instanceHandle = GetModuleHandleA(NULL); }
    void TearDown() override { DestroyWindow(probe.window); } // refused if none was made
    Probe probe;
};

TEST_F(WindowObjects, CreationBindsTheWindowAndAFailedOnCreateLeavesNone)
{
    ASSERT_TRUE(probe.Make());
    EXPECT_EQ(&probe, reinterpret_cast<WindowObject*>(GetWindowLongPtrA(probe.window, GWLP_USERDATA)));
    HWND first = probe.window;
    EXPECT_TRUE(probe.CreateOwnWindow("ProbeClass", NULL, NULL, "Again", 0, 0, 10, 10));
    EXPECT_EQ(first, probe.window);
    EXPECT_EQ(0, probe.RegisterWindowClass()); // registered once per process

    Probe failing;
    failing.createResult = 0;
    EXPECT_FALSE(failing.Make());
    EXPECT_EQ((HWND)NULL, failing.window);
}

TEST_F(WindowObjects, DestructionRunsItsThreeStepsWithTheHandleStillSet)
{
    ASSERT_TRUE(probe.Make());
    EXPECT_TRUE(probe.Destroy());
    EXPECT_EQ((HWND)NULL, probe.window);
    EXPECT_EQ((std::vector<std::string>{"OnDestroy", "SaveState", "OnAfterDestroy"}), probe.calls);
    EXPECT_FALSE(probe.Destroy()); // no window left: DestroyWindow fails, nothing changes
}

TEST_F(WindowObjects, SystemKeysStopAtTheirHandlersButSysCharGoesOn)
{
    ASSERT_TRUE(probe.Make());
    // Alt+F4 would close the window if the key reached DefWindowProcA.
    EXPECT_EQ(0, SendMessageA(probe.window, WM_SYSKEYDOWN, VK_F4, 1 << 29));
    SendMessageA(probe.window, WM_SYSCHAR, 'x', 1 << 29);
    EXPECT_EQ((std::vector<std::string>{"OnSysKeyDown", "OnMessage WM_SYSCHAR"}), probe.calls);
}

TEST_F(WindowObjects, UnlistedMessagesGoToDefWindowProcUnlessOnMessageTakesThem)
{
    ASSERT_TRUE(probe.Make());
    EXPECT_EQ(5, SendMessageA(probe.window, WM_GETTEXTLENGTH, 0, 0)); // "Probe"
    probe.claimTextLength = 1;
    EXPECT_EQ(0, SendMessageA(probe.window, WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(WindowObjects, DefaultResultsOfTheListedMessages)
{
    ASSERT_TRUE(probe.Make());
    EXPECT_EQ(TRUE, SendMessageA(probe.window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(-1, SendMessageA(probe.window, WM_VKEYTOITEM, 0, 0));
    EXPECT_EQ(TRUE, SendMessageA(probe.window, WM_DRAWITEM, 0, 0));
    EXPECT_EQ(0, SendMessageA(probe.window, WM_CTLCOLORLISTBOX, 0, 0));
    EXPECT_EQ(0, SendMessageA(probe.window, WM_MENUSELECT, 0, 0));

    // The default paint validates the window.
    ShowWindow(probe.window, SW_SHOWNOACTIVATE);
    InvalidateRect(probe.window, NULL, FALSE);
    SendMessageA(probe.window, WM_PAINT, 0, 0);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(probe.window, &update, FALSE));

    // WM_CLOSE of the base destroys the window; OnCreate of the base refuses.
    struct Closable : WindowObject {
        int OnCreate() override { return 1; }
    } closable;
    WindowObject refusing;
    EXPECT_FALSE(refusing.CreateOwnWindow("ProbeClass", NULL, NULL, "", 0, 0, 50, 50));
    ASSERT_TRUE(closable.CreateOwnWindow("ProbeClass", NULL, NULL, "", 0, 0, 50, 50));
    HWND closing = closable.window;
    SendMessageA(closing, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(closing));
    EXPECT_EQ((HWND)NULL, closable.window);
}

TEST_F(WindowObjects, EndSessionSavesOnlyWhenTheSessionEnds)
{
    ASSERT_TRUE(probe.Make());
    SendMessageA(probe.window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ((std::vector<std::string>{"OnEndSession"}), probe.calls);
    SendMessageA(probe.window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ((std::vector<std::string>{"OnEndSession", "OnEndSession", "SaveState"}), probe.calls);
}

TEST_F(WindowObjects, NotificationsGoToTheSendersControlObjectWhenItHasOne)
{
    ASSERT_TRUE(probe.Make());
    Notifier bound;
    ASSERT_TRUE(bound.Create(probe.window, 0, "Bound", 0, 0, 50, 20));
    HWND plain = CreateWindowExA(0, "BUTTON", "Plain", WS_CHILD, 0, 30, 50, 20, probe.window,
                                 NULL, instanceHandle, NULL);
    NMHDR fromBound = {bound.window, (UINT_PTR)bound.controlId, 1234};
    NMHDR fromPlain = {plain, 0, 1234};
    EXPECT_EQ(77, SendMessageA(probe.window, WM_NOTIFY, bound.controlId, (LPARAM)&fromBound));
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_EQ(0, SendMessageA(probe.window, WM_NOTIFY, 0, (LPARAM)&fromPlain));
    EXPECT_EQ((std::vector<std::string>{"OnNotify"}), probe.calls);
}

TEST_F(WindowObjects, ACreateNoClassSuppliesWarnsAndFails)
{
    ModalAnswerer answerer;
    WindowObject plain;
    ListBoxControl list;
    EXPECT_EQ(0, plain.Create(NULL, 0, "", 0, 0, 10, 10));
    EXPECT_EQ(0, static_cast<ControlObject&>(list).ControlObject::Create(NULL, 0, "", 0, 0, 1, 1));
    ASSERT_EQ(2u, answerer.Answered().size());
    EXPECT_EQ("App Error", answerer.Answered()[0].caption);
    EXPECT_EQ("Missing Create", answerer.Answered()[0].text);
}

class Dialog : public DialogObject {
public:
    INT_PTR DialogProc(UINT message, WPARAM, LPARAM) override
    {
        messages.push_back(message);
        if (message == WM_INITDIALOG)
            boundAtInit = window != NULL;
        return message == WM_INITDIALOG;
    }
    std::vector<UINT> messages;
    int boundAtInit = 0;
};

TEST_F(WindowObjects, ADialogObjectIsBoundFromWmInitDialogOn)
{
    // An empty dialog template in memory: no controls, no font.
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate = {};
    dialogTemplate.header.style = WS_POPUP | WS_CAPTION;
    dialogTemplate.header.cx = 100;
    dialogTemplate.header.cy = 50;
    Dialog dialog;
    HWND window = CreateDialogIndirectParamA(instanceHandle, &dialogTemplate.header, NULL,
                                             SharedDialogProc, (LPARAM)&dialog);
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ(window, dialog.window);
    EXPECT_TRUE(dialog.boundAtInit);
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ((UINT)WM_INITDIALOG, dialog.messages[0]); // nothing reached it before
    SendMessageA(window, WM_USER + 5, 0, 0);
    EXPECT_EQ((UINT)(WM_USER + 5), dialog.messages.back());
    DestroyWindow(window);
}

// The long-lived objects are built before the entry point without touching
// the window system; the box's class is registered with the first box, once.
TEST(ProgramObjects, ClassesAreRegisteredAtFirstUseNotAtConstruction)
{
    WNDCLASSA found;
    auto registered = [&](const char* name) {
        return GetClassInfoA(NULL, name, &found) || GetClassInfoA(GetModuleHandleA(NULL), name, &found);
    };
    EXPECT_EQ((HWND)NULL, messageBox.window);
    EXPECT_EQ((HWND)NULL, buttonBar.window);
    EXPECT_FALSE(registered("CMSGCLASS"));
    EXPECT_FALSE(registered("BtnBarClass"));
    EXPECT_FALSE(registered("MainClass"));

    instanceHandle = GetModuleHandleA(NULL);
    ModalAnswerer answerer;
    messageBox.Show(NULL, "First", "Tarvendel", MB_OK, NULL, 0, RGB(192, 192, 192), RGB(128, 128, 128));
    EXPECT_TRUE(registered("CMSGCLASS"));
    EXPECT_EQ(0, messageBox.RegisterWindowClass()); // once per process
    messageBox.Show(NULL, "Second", "Tarvendel", MB_OK, NULL, 0, RGB(192, 192, 192), RGB(128, 128, 128));
    ASSERT_EQ(2u, answerer.Answered().size());
    EXPECT_EQ("Second", answerer.Answered()[1].text);
}

} // namespace
