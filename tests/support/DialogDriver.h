// Drives one modal dialog or box of the program's from a thread timer that
// fires inside its own loop, one step per tick, as a user would act on it.
#pragma once

#include "ModalAnswerer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class MessageBoxWindow;

typedef std::function<void(HWND window)> Step;

class DialogDriver {
public:
    // Steps act on the visible dialog with this caption (any dialog when
    // empty); every box of the program's that opens meanwhile is recorded and
    // answered with boxAnswer before any further step.
    explicit DialogDriver(const std::string& caption = "");
    // Steps act on the program's box itself, which is then not answered.
    explicit DialogDriver(MessageBoxWindow* box);

    // Calls open, which runs the modal loop, and returns its result. When the
    // steps have run out and graceTicks more have passed, the window is
    // cancelled (a box closed) and counted in leftOpen. Whatever is still open
    // after ten seconds fails the test and is cancelled, so no test hangs.
    int Run(const std::function<int()>& open, const std::vector<Step>& steps);

    int boxAnswer = IDOK;
    UINT tickMs = 20;
    int graceTicks = 0;

    // Of the last run:
    std::vector<AnsweredWindow> answered;
    std::vector<std::string> boxes;    // "caption: text" of each box answered
    std::vector<std::string> boxTexts; // the text alone
    size_t stepsRun = 0;
    int dialogs = 0;  // dialogs with the caption that appeared
    int leftOpen = 0; // cancelled or closed once the steps had run out

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    HWND Target();

    std::string caption;
    MessageBoxWindow* box = nullptr;
    std::vector<Step> steps;
    std::vector<HWND> seenDialogs, answeredWindows;
    int idleTicks = 0;
    DWORD started = 0;
};

// The program's main window, opened once for all the tests of a program, over
// an empty table read from a data file in a new folder; settings as with no
// key, and today 7 December 2006.
class ProgramWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    std::string folder;
};

// Steps on a dialog's controls.
Step Press(int id);  // posts the button's command, as a click that may open a modal window
Step Click(int id);  // clicks the button at once (check boxes, radio buttons)
Step Type(int id, const std::string& text);
Step Key(WPARAM key); // posts the key down and up to the focused window
void SetChecked(HWND dialog, int id, int checked); // clicks the check box if it differs

// Steps on the reminder dialog: the time (where the lists are enabled), and the
// date picked as a user would, by year (0: left as it is), month and a click on
// the day's cell.
Step PickTime(int hour, int minute);
Step PickDate(int year, int month, int day);
HWND Calendar(HWND dialog);
// Chooses an entry of one of the calendar's lists as a user would.
void ChooseInList(HWND dialog, int listId, int index);

// Where child sits in parent's client area.
RECT RectIn(HWND child, HWND parent);
// The measures of font (the device's own when NULL) on window's device
// context, or on the display's when window is NULL.
TEXTMETRICA FontMetrics(HFONT font, HWND window = NULL);
// A status bar part's text, and its drawing type into type when given.
std::string StatusText(HWND bar, int index, int* type = nullptr);
// A combo box's entry; its selected one when index is -1 (empty when none).
std::string ComboItem(HWND combo, int index = -1);
// The drawing objects the process holds, counted one handle at a time where
// the system does not count them (Wine).
long GdiObjects();

// A memory device context over a 32-bit bitmap, filled with one colour.
struct Canvas {
    Canvas(int width, int height, COLORREF colour);
    Canvas(const Canvas&) = delete;
    ~Canvas();
    void Fill(COLORREF colour);
    std::vector<DWORD> Pixels() const { return std::vector<DWORD>(bits, bits + width * height); }

    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD* bits = nullptr;
};
