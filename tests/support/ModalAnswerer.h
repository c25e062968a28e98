// Answers the modal windows the code under test opens on this thread: a thread
// timer fires inside every modal loop, finds the box or dialog, records its
// caption and text, and presses the chosen button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct AnsweredWindow {
    std::string className;
    std::string caption;
    std::string text;
};

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

// The text a box shows: the static text of a system message box, or the
// window's own text for the program's box.
std::string ModalText(HWND box);
