// The main window's status window, split into parts measured in characters.
#pragma once

#include "ControlObject.h"

class StatusBar : public ControlObject {
public:
    StatusBar();
};
