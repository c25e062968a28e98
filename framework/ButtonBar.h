// The strip of command buttons across the top of the main window.
#pragma once

#include "ControlObject.h"
#include "WindowObject.h"

// Shown over every bar button; loaded by the start-up.
extern HCURSOR handCursor;

class ButtonBar : public WindowObject {
public:
    ButtonBar();
};
