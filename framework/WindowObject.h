// Window objects: long-lived objects bound to their windows, which receive
// each message through a virtual operation of their own.
#pragma once

#include <windows.h>

// The program's instance, stored by the entry point. Classes registered during
// static construction see the value it holds then (null).
extern HINSTANCE instanceHandle;

class WindowObject {
public:
    WindowObject();
    virtual ~WindowObject() {}

    // Direct creation; no window class of the program supplies it.
    virtual int Create(HWND parent, int id, const char* text, int x, int y, int width, int height);
    // Last look at a class description before RegisterClassA.
    virtual void PreRegisterClass(WNDCLASSA& windowClass);
    // Last look at the main window's creation values before CreateWindowExA.
    virtual void PreCreateWindow(CREATESTRUCTA& create);
    // Every message once the window is bound; the default is the dispatcher.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Third and last step of WM_DESTROY.
    virtual void OnAfterDestroy();
    // Messages the dispatcher does not list; non-zero means handled (result 0),
    // zero sends the message on to DefWindowProcA.
    virtual int OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Registers the object's window class; non-zero only when it did so now.
    virtual int RegisterWindowClass();
    // Second step of WM_DESTROY, and WM_ENDSESSION when the session ends.
    virtual int SaveState();

    // The message handlers, in alphabetical order of their messages.
    virtual void OnChar(WPARAM wParam, LPARAM lParam);
    virtual void OnClose();
    virtual void OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnContextMenu(WPARAM wParam, LPARAM lParam);
    // Zero makes the window's creation fail.
    virtual int OnCreate();
    virtual LRESULT OnCtlColorListBox(WPARAM wParam, LPARAM lParam);
    virtual void OnDestroy();
    // WM_DPICHANGED: the window is now on a monitor of the DPI in LOWORD of
    // wParam; the default takes the rectangle the system suggests (lParam).
    virtual void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    virtual void OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual void OnDropFiles(WPARAM wParam);
    virtual void OnEndSession(WPARAM wParam, LPARAM lParam);
    virtual void OnInitMenu();
    virtual void OnKeyDown(WPARAM wParam, LPARAM lParam);
    virtual void OnKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void OnKillFocus();
    virtual void OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnMenuSelect(WPARAM wParam, LPARAM lParam);
    virtual void OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY from a window that carries no control object.
    virtual void OnNotify(WPARAM wParam, LPARAM lParam);
    virtual void OnPaint();
    // The answer to WM_QUERYENDSESSION: non-zero lets the session end.
    virtual int OnQueryEndSession();
    virtual void OnRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void OnRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual void OnSetFocus();
    virtual void OnSize(WPARAM wParam, LPARAM lParam);
    virtual void OnSysColorChange();
    virtual void OnSysKeyDown(WPARAM wParam, LPARAM lParam);
    virtual void OnSysKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(WPARAM timerId);
    // The answer to WM_VKEYTOITEM: -1 lets the list box handle the key.
    virtual int OnVKeyToItem(WPARAM wParam);
    virtual void OnVScroll(WPARAM wParam, LPARAM lParam);

    // Creates the window once, with this object as creation parameter;
    // non-zero when the object has a window afterwards.
    int CreateOwnWindow(const char* className, HWND parent, HMENU menuOrId, const char* title,
                        int x, int y, int width, int height);
    // Destroys the window; the handle is cleared only after DestroyWindow has
    // returned, so the destruction handlers still see it.
    int Destroy();

    HWND window;
    DWORD windowStyle;
    DWORD exStyle;
};

// The window procedure of every window-object class.
LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a class at most once per process, guarded by its own flag; owner's
// PreRegisterClass sees the description first when given.
int RegisterClassOnce(int* registeredFlag, WNDCLASSA& windowClass, WindowObject* owner);

// Objects that drive a dialog template.
class DialogObject {
public:
    DialogObject() : window(NULL), exStyle(0) {}
    virtual ~DialogObject() {}

    virtual int Create(HWND parent, int id, const char* text, int x, int y, int width, int height);
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND window;
    DWORD exStyle;
};

// Passed to DialogBoxParamA with the dialog object as its init parameter.
INT_PTR CALLBACK SharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The warning a Create that no class supplies gives.
int MissingCreate();
