// The strip of command buttons across the top of the main window.
#pragma once

#include "ControlObject.h"
#include "WindowObject.h"

// Shown over every bar button; loaded by the start-up.
extern HCURSOR handCursor;

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
    virtual int CreateBar(HWND parent, int x, int y, int width, int height);

    // Makes room for n buttons, once; zero when there is no room, or when the
    // bar already has its buttons (their windows point into the storage).
    int SetButtonCount(int n);
    // Adds the next button to the right of the last one; zero when the bar is
    // full or the button cannot be created, and then nothing changes.
    int AddButton(const char* caption, int width, int commandId, int disabled, const char* hint);
    // Enables or greys the button of commandId; an unknown id does nothing.
    void EnableButton(int commandId, int enable);

    int buttonCapacity;
    int nextX;
    int buttonCount;
    int barHeight;
    int* commandIds;
    BarButton* buttons;
    int shown;
};
