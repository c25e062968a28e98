#include "ButtonBar.h"

HCURSOR handCursor;

ButtonBar::ButtonBar() {}
