#include "MessageBox.h"

MessageBoxWindow::MessageBoxWindow() {}
AboutBoxWindow::AboutBoxWindow() {}
