// The program's own modal message box and About box.
#pragma once

#include "../framework/ControlObject.h"
#include "../framework/WindowObject.h"
#include "FontSpec.h"
#include "SunkenFrame.h"

// The box's text in a hidden static child with this id, where screen readers
// and automation look for a message box's text; it changes nothing visible.
const int kBoxTextLabelId = 0xFFFF;

class MessageBoxWindow : public WindowObject {
public:
    // Registers "CMSGCLASS" (once per process).
    MessageBoxWindow();

    // Shows the box over owner (disabled meanwhile) and waits for an answer.
    // style holds the MB_ button set, icon and default-button bits; iconName
    // is a resource of the program, used when the style names no system icon.
    // Returns the pressed button's ID value, 0 when none was pressed: the box
    // could not be shown, was closed without a button, or a quit message came.
    int Show(HWND owner, const char* text, const char* caption, int style, const char* iconName,
             COLORREF textColour, COLORREF backgroundColour, COLORREF frameColour);
    // Dispatches what is queued; 1 when a quit message waits at the head of
    // the queue (left there for the main loop), 0 when the queue is empty.
    int PumpPendingMessages();

    int RegisterWindowClass() override;
    // Any close without a button (the system's close, Alt+F4) answers 0.
    void OnClose() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnCreate() override;
    // A press anywhere on the background drags the box.
    void OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    // The box passes the focus on to the button that last had it.
    void OnSetFocus() override;
    // Moved to a monitor of another scale: new font, icon and layout.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    // Runs right after the window exists.
    virtual void AfterCreate();
    // A WM_COMMAND that no box button sent.
    virtual void OnOtherCommand(int commandId, HWND control);
    // Makes the buttons and sets buttonResult and buttonCount during
    // WM_CREATE; zero makes the creation fail.
    virtual int CreateButtons();
    // Lays out the window and creates it; non-zero when it exists.
    virtual int CreateBoxWindow();
    // Moves the buttons that CreateButtons made to their places in the
    // client area as it is now.
    virtual void PlaceButtons();
    // Esc on a button; the message box leaves it unanswered.
    virtual void OnEscape();
    // A control of the box that Tab reaches after button index, before the
    // next button; none in the message box.
    virtual HWND TabStopAfter(int index);

    // The window procedure of every box button: focus keys and mnemonics.
    static LRESULT CALLBACK BoxKeyHandler(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

    // Shared by the boxes, which all use the same three buttons; only one box
    // is open at a time.
    static int buttonCount;
    static int focusIndex;
    static WNDPROC buttonProcedure;

    int running;
    HWND owner;
    HICON icon;
    int iconOwned;
    // What the box is drawn at: the owner's DPI, the screen's without owner.
    int dpi;
    // The display's default font at that DPI.
    HFONT font;
    int fontOwned;
    const char* iconName;
    int maxCharWidth;
    int lineHeight;
    int lineCount;
    int maxLineWidth;
    int result;
    int buttonResult[3];
    int style;
    COLORREF textColour;
    COLORREF backgroundColour;
    char* text;
    // Borrowed from the caller of Show; the About box's link text.
    const char* caption;
    RECT textArea;
    SunkenFrame frame;

protected:
    // length, given at 96 DPI, at the box's DPI.
    int Scaled(int length) const;
    // Measures the text (the one asked for) and sets the sizes that follow
    // from it at the box's DPI; zero when the display cannot be measured.
    int Measure(const char* measured);
    // Makes the font and loads the icon for the box's DPI.
    void MakeFontAndIcon();
    void ReleaseFontAndIcon();
    // The icon's side at the box's DPI.
    int IconSize() const;
    const char* measuredText;
    // Makes a box button (a fresh id each time) giving buttonResult value.
    int MakeButton(int index, const char* label, int value, int x, int y);
    void ReleaseText();
    // Gives the owner back its input, unless it was disabled before the box.
    void RestoreOwner();
};

// The one message box and the three buttons every box shares; they live for
// the whole run (defined with the program's other long-lived objects).
extern MessageBoxWindow messageBox;
extern ButtonControl boxButtons[3];

// Parts the boxes built on this one share: their window class, and how
// their text is cut into lines and measured.
extern const char kBoxClassName[];
// The line that starts at line: its length, and where the next one starts.
// A final line feed starts no further line.
const char* NextBoxLine(const char* line, int* length);
int BoxTextWidth(HDC dc, const char* text, int length);
// The owner's client area; empty without an owner.
void OwnerClientRect(HWND owner, RECT* client);
