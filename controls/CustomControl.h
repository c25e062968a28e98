// Custom controls: objects made once at program start that serve windows a
// dialog template creates later. A window finds its object by its control id
// alone, so each object serves one window at a time, and no two live custom
// control windows may share an id.
#pragma once

#include <windows.h>

class CustomControl;

// The custom-control objects keyed by control id, newest first.
class ControlRegistry {
public:
    struct Node {
        int controlId;
        Node* next;
        CustomControl* object;
    };

    // Links object under controlId; 0 when no node could be allocated.
    static int Add(int controlId, CustomControl* object);
    // Unlinks and frees the node of object, if it has one.
    static void Remove(CustomControl* object);
    // The newest object with controlId, or null.
    static CustomControl* Find(int controlId);
    static Node* First();

private:
    // A plain pointer, zero before any constructor runs, so objects of other
    // files may register during static construction in any order.
    static Node* first;
};

class CustomControl {
public:
    explicit CustomControl(int id);
    // A program's objects live to its end; one that goes earlier (a test's)
    // leaves the registry, so no window can reach it afterwards.
    virtual ~CustomControl();

    // Registers the window class of the object's windows; non-zero when the
    // class is registered, now or before.
    virtual int RegisterWindowClass() = 0;
    virtual void OnLButtonUp(int id);
    virtual void OnSetCursor();
    virtual void OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_CREATE; the window keeps being created whatever happens here.
    virtual void OnCreate(HWND newWindow);
    virtual void OnDestroy();
    virtual void OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    // A slot the window procedure never calls.
    virtual void Reserved(WPARAM wParam, LPARAM lParam);
    // WM_PAINT; an override must validate the update region (BeginPaint).
    virtual void OnPaint();
    // WM_SETFOCUS; previous had the focus before (null when none did).
    virtual void OnSetFocus(HWND previous);
    virtual void OnSize(WPARAM wParam, LPARAM lParam);
    // The keys the control wants a dialog to pass on (WM_GETDLGCODE), for
    // message when the dialog asks about one (else null); the base wants
    // none, so the dialog keeps the arrows for moving the focus.
    virtual LRESULT OnGetDlgCode(const MSG* message);
    // WM_KEYDOWN while the control has the focus; zero passes the key on to
    // DefWindowProcA.
    virtual int OnKeyDown(WPARAM key);
    virtual void OnKillFocus();
    // The dialog the control is in moved to a monitor of another DPI and
    // has been scaled to it (WM_DPICHANGED_AFTERPARENT).
    virtual void OnDpiChanged();
    // The keyboard cues changed (WM_UPDATEUISTATE, after the system took it).
    virtual void OnUiStateChanged(WPARAM change);

    // Sends the parent WM_NOTIFY with code, from this control's window.
    void NotifyParent(UINT code);

    HWND window;
    int controlId;
    NMHDR notifyHeader;
};

// The window procedure of every custom-control class.
LRESULT CALLBACK CustomControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window classes of every registered object, newest first;
// non-zero when all of them are registered.
int RegisterControlClasses();
