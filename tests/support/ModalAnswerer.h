// Answers the modal windows the code under test opens on this thread: a thread
// timer fires inside every modal loop, finds the box or dialog, records what
// it shows, and presses the chosen button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct AnsweredWindow {
    std::string className;
    std::string caption;
    std::string text;
    // What the caller handed the program's own box (zero for other windows):
    // its MB_ style bits, the icon it shows, and its three colours.
    int style = 0;
    HICON icon = NULL;
    COLORREF textColour = 0, backgroundColour = 0, frameColour = 0;
};

// What box shows and, for the program's own box in this process, how it was asked.
AnsweredWindow DescribeWindow(HWND box);

// How a box was asked for, in one line: "style 0x24, question icon, 000000 on
// c0c0c0, frame 808080"; the icon named "program" for the program's own.
std::string BoxLook(const AnsweredWindow& box);

class ModalAnswerer {
public:
    // Each window that appears is answered with the next button id in turn;
    // when they run out, the last one is used again.
    explicit ModalAnswerer(std::vector<int> buttons = {IDOK});
    ~ModalAnswerer();

    const std::vector<AnsweredWindow>& Answered() const { return answered; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void AnswerOpenWindows();

    std::vector<int> buttons;
    std::vector<AnsweredWindow> answered;
    std::vector<HWND> pressed;
    UINT_PTR timer;
};

// The text a box shows: its static text with id 0xFFFF, which both the
// system's box and the program's own box carry, else the window's own text.
std::string ModalText(HWND box);

// Presses the button that gives result in box: for the program's own box the
// button with that result's caption ("&Ok", "&Cancel", "&Yes", "&No"; result
// 0 closes the box without a button), for a dialog the control with that id.
// readText reads a window's text (the W form for another process's windows).
void PressButton(HWND box, int result, std::string (*readText)(HWND));

// A window's text in this process, however long.
std::string LocalText(HWND window);
std::string ClassOf(HWND window);
// The visible top-level windows of this thread.
std::vector<HWND> VisibleThreadWindows();
