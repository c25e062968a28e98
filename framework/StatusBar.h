// The main window's status window, split into parts measured in characters.
#pragma once

#include "ControlObject.h"

class StatusBar : public ControlObject {
public:
    StatusBar();
    ~StatusBar() override;
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // Sets aside room for n parts, before any AddPart and before the window
    // exists; zero when the room could not be had (the bar then has no parts).
    int SetPartCount(int n);
    // Defines the next part: its width in average characters and the drawing
    // type its texts are set with. Calls beyond the part count change nothing.
    void AddPart(int widthInChars, int drawingType);
    // Creates the status window along the bottom of parent; zero on failure.
    int CreateStatus(HWND parent);
    // The height the window takes from the parent's client area; 0 when hidden.
    int StatusHeight();
    // Follows a WM_SIZE of the parent: re-aligns the window and its parts.
    void ResizeParts(WPARAM wParam, LPARAM lParam);
    // Sets the text of part index; an index outside the parts is ignored.
    void SetPartText(int index, const char* text);
    // Gives the window the status font at dpi, and with it a new height;
    // at the screen's own DPI the window's default font comes back. The
    // parent's next WM_SIZE lays the parts out in it.
    void FollowDpi(int dpi);

    HWND parent;
    int partCount;
    int* partWidths;
    int* partTypes;
    int* partEdges;
    int partsDefined;
    HFONT font; // made for a DPI other than the screen's; null otherwise

private:
    void ReleaseParts();
};
