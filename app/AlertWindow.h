// The small window an alert start shows: the reminders whose time has come,
// Dismiss, Snooze with its choice of when, and Open Tarvendel. It is the
// program's message box with other parts: its font, icon, buttons and their
// keys, at the window's DPI.
#pragma once

#include "../controls/MessageBox.h"

class AlertWindow : public MessageBoxWindow {
public:
    // What ShowAlert answers; the close box and Esc dismiss.
    enum { kDismiss = 1, kSnooze = 2, kOpen = 3 };

    AlertWindow();
    // lines: one reminder per line, as the list shows it. snoozeChoice: the
    // choice shown first, and the one left chosen. On top of every window,
    // centred on the work area, with a sound and the taskbar button flashing.
    int ShowAlert(const char* lines, int* snoozeChoice);

    int CreateBoxWindow() override;
    int CreateButtons() override;
    void PlaceButtons() override;
    void AfterCreate() override;
    void OnPaint() override;
    void OnClose() override;
    void OnEscape() override;
    HWND TabStopAfter(int index) override;
    // The list and the choice take the new font too.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    // A list box of strings, which screen readers read.
    HWND list;
    HWND choice;
    int chosen;

private:
    // The client area's size for the text measured, at the window's DPI.
    void ClientSize(int* width, int* height) const;
    void SetChildFonts();
    HICON smallIcon;
    int smallIconOwned;
};

// The one alert window, defined with the program's other long-lived objects.
extern AlertWindow alertWindow;
