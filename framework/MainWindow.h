// The program's top-level window: the button bar, the list and the status bar,
// top to bottom.
#pragma once

#include "WindowObject.h"

class ButtonBar;
class ListBoxControl;
class StatusBar;

class MainWindow : public WindowObject {
public:
    MainWindow();

    // Asked before the window goes, by WM_CLOSE and at the end of a session;
    // zero keeps the window and everything in it as it is.
    virtual int CanClose();
    // Runs when the window is first shown; non-zero when it placed and showed
    // the window itself, so the start-up show command is not applied.
    virtual int RestorePlacement();

    // The window is gone: the message loop ends with exit code 0.
    void OnAfterDestroy() override;
    int RegisterWindowClass() override;
    void OnClose() override;
    // Moved to a monitor of another scale: takes the suggested rectangle
    // (but not while a saved placement is being restored, which keeps the
    // size the user left, in that monitor's pixels), remakes the fonts for
    // the new DPI and lays the children out again.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam) override;
    // Creates the status window; without it the main window is not created.
    int OnCreate() override;
    int OnQueryEndSession() override;
    // The list keeps the keyboard focus whenever the window gets it.
    void OnSetFocus() override;
    void OnSize(WPARAM wParam, LPARAM lParam) override;

    // Creates the hidden window with its three children; zero on any failure.
    // The objects are the program's own and outlive the window.
    int CreateMain(ListBoxControl* list, ButtonBar* bar, StatusBar* status);
    void ShowMain(int showCommand);
    // Places the children in the client area of the last WM_SIZE.
    void Layout();
    // Gives the list the fixed-pitch system font, at the window's DPI from
    // now on.
    void UseFixedListFont();
    // Makes the fonts of the bar and the list for dpi and measures the bar's
    // height from the bar's font; zero when the font cannot be measured.
    int MakeFonts(int newDpi);
    // An owner-drawn list measures its lines once, when it is made: after a
    // change of scale they are set to the height of the text at the new one.
    void FitListLines();
    // Loads the accelerator table resourceId for the message loop; zero if none.
    int SetAccelerators(int resourceId);
    // Runs until WM_QUIT and returns its code; -1 if the message queue fails.
    int RunMessageLoop();

    HACCEL accelerators;
    int dpi;
    // Set by RestorePlacement around SetWindowPlacement.
    int placing;
    int fixedListFont;
    HFONT listFont;
    int listFontOwned;
    HFONT barFont;
    int barFontOwned;
    int clientWidth;
    int clientHeight;
    int barHeight;
    ButtonBar* buttonBar;
    StatusBar* statusBar;
    ListBoxControl* listBox;
};
