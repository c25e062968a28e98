// The program's top-level window object.
#pragma once

#include "WindowObject.h"

class MainWindow : public WindowObject {
public:
    // Runs when the window is first shown; non-zero when it placed and showed
    // the window itself, so the start-up show command is not applied.
    virtual int RestorePlacement() { return 0; }
};
