#include "StatusBar.h"

StatusBar::StatusBar() {}
