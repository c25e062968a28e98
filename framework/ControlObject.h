// Thin wrappers of standard child controls, found from their windows through
// the same slot that binds window objects.
#pragma once

#include <windows.h>

class ControlObject;
typedef void (ControlObject::*ControlHandler)(int controlId);

class ControlObject {
public:
    ControlObject();
    virtual ~ControlObject() {}

    // Creates (or attaches to) the control; id 0 takes the next free id.
    virtual int Create(HWND parent, int id, const char* text, int x, int y, int width, int height);
    // A WM_COMMAND notification of this control; non-zero when handled.
    virtual int OnCommandNotify(int code, int controlId);
    // A slot no class changes and nothing calls.
    virtual void Unused(int value);
    // A WM_NOTIFY this control sent; the result goes back to the system.
    virtual LRESULT OnNotify(NMHDR* header);
    virtual void SetHandler(ControlObject* context, ControlHandler handler);
    // Every message of a subclassed control.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Attaches to the parent's child with controlId, or creates one; binds it.
    int CreateOrAttach(const char* className, HWND parent, const char* text, int x, int y,
                       int width, int height);
    // Takes the id for a Create call: the given one, or the next free one for 0.
    void TakeControlId(int id);

    HWND window;
    DWORD windowStyle;
    DWORD exStyle;
    int controlId;
    const char* hintText;
    ControlObject* handlerContext;
    ControlHandler handler;
};

// Ids handed to controls created with id 0; never reset, so none repeats in a run.
extern int nextControlId;
// The button class's own procedure, remembered when a button is first subclassed.
extern WNDPROC standardButtonProc;

class ButtonControl : public ControlObject {
public:
    explicit ButtonControl(int subclass = 0);

    int Create(HWND parent, int id, const char* text, int x, int y, int width, int height) override;
    int OnCommandNotify(int code, int controlId) override;
    // Installs procedure (ControlSubclassProc when null); returns the previous one.
    WNDPROC Subclass(WNDPROC procedure);

    int subclassFlag;
    char mnemonic;
};

class ListBoxControl : public ControlObject {
public:
    ListBoxControl();

    int Create(HWND parent, int id, const char* text, int x, int y, int width, int height) override;
    int OnCommandNotify(int code, int controlId) override;
    // Asks the parent about every key pressed in the list with WM_VKEYTOITEM,
    // as LBS_WANTKEYBOARDINPUT would, without changing the list's style; an
    // answer of -2 means the parent took the key. Non-zero when installed.
    int ReportKeys();
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int selection;
};

class ComboControl : public ControlObject {
public:
    ComboControl();

    int Create(HWND parent, int id, const char* text, int x, int y, int width, int height) override;
    int OnCommandNotify(int code, int controlId) override;
    // Shift+Tab in the list gives the focus to target, where the dialog's
    // order would skip it (a control whose child the list is). Non-zero
    // when installed.
    int TabBackTo(HWND target);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int selection;
    HWND shiftTabTarget;
    // The subclassed window itself: its owner may forget window while the
    // list is still being destroyed, and the list must still clean up.
    HWND subclassed;
};

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The character after the first '&' of text, 0 when there is none.
char MnemonicOf(const char* text);
