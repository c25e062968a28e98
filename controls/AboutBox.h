// The About box, a message box of its own shape.
#pragma once

#include "MessageBox.h"

class AboutBoxWindow : public MessageBoxWindow {
public:
    AboutBoxWindow();
    // Deletes the link font at exit.
    ~AboutBoxWindow() override;

    // Only the link is owner-drawn.
    void OnDrawItem(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    // A click on the link opens it and ends the box with 1.
    void OnOtherCommand(int commandId, HWND control) override;
    int CreateButtons() override;
    int CreateBoxWindow() override;
    void PlaceButtons() override;
    // The ellipse and the link are made again for the new DPI.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    int linkCreated;
    int outerWidth;
    int outerHeight;
    RECT linkRect;
    FontSpec linkFont;
    ButtonControl linkButton;

private:
    // Cuts the window to the ellipse that fills its client area.
    void FitEllipse();
};

// The one About box, defined with the program's other long-lived objects.
extern AboutBoxWindow aboutBox;
