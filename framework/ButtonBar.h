// The strip of command buttons across the top of the main window.
#pragma once

#include "ControlObject.h"
#include "WindowObject.h"

// Shown over every bar button; loaded by the start-up at the screen's DPI.
extern HCURSOR handCursor;
// handCursor on a monitor of the screen's DPI; elsewhere the hand made for
// dpi, kept until another DPI needs its own.
HCURSOR HandCursorFor(int dpi);

// A push button of the bar: shows the hand cursor and reports the mouse
// moving over it to the bar.
class BarButton : public ButtonControl {
public:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class ButtonBar : public WindowObject {
public:
    ButtonBar();
    ~ButtonBar() override;
    ButtonBar(const ButtonBar&) = delete;
    ButtonBar& operator=(const ButtonBar&) = delete;

    // The bar's own small procedure instead of the dispatcher: it only paints
    // its lines and passes clicks and hover notices up to its parent.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int RegisterWindowClass() override;

    // Creates and shows the bar window; zero when it cannot be created.
    // height is in the window's pixels; the buttons' lengths are given at
    // 96 DPI and scaled to the bar's DPI.
    virtual int CreateBar(HWND parent, int x, int y, int width, int height);
    // The bar now draws at newDpi and is height pixels high: the buttons
    // are placed and sized again.
    void Rescale(int newDpi, int height);

    // Makes room for n buttons, once; zero when there is no room, or when the
    // bar already has its buttons (their windows point into the storage).
    int SetButtonCount(int n);
    // Adds the next button to the right of the last one, width pixels wide
    // at 96 DPI; zero when the bar is full or the button cannot be created,
    // and then nothing changes.
    int AddButton(const char* caption, int width, int commandId, int disabled, const char* hint);
    // The font of the buttons, those there and those to come; null: the
    // system's.
    void SetFont(HFONT newFont);
    // Enables or greys the button of commandId; an unknown id does nothing.
    void EnableButton(int commandId, int enable);

    int buttonCapacity;
    int nextX; // at 96 DPI
    int dpi;
    int buttonCount;
    int barHeight;
    int* commandIds;
    int* baseWidths; // at 96 DPI
    HFONT font;
    BarButton* buttons;
    int shown;
};
