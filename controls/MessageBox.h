// The program's own modal message box and About box.
#pragma once

#include "../framework/ControlObject.h"
#include "../framework/WindowObject.h"

class MessageBoxWindow : public WindowObject {
public:
    MessageBoxWindow();
};

class AboutBoxWindow : public MessageBoxWindow {
public:
    AboutBoxWindow();
};

// The one instance of each box and the three buttons both share; they live
// for the whole run (defined with the program's other long-lived objects).
extern MessageBoxWindow messageBox;
extern AboutBoxWindow aboutBox;
extern ButtonControl boxButtons[3];
