// Puts the application object into a known state for a test.
#pragma once

#include "core/Application.h"

#include <string>

// Settings as LoadSettings leaves them with no key; hand start; no buffer.
void ResetApplication();

// Gives the application a text buffer holding text, as LoadDataFile would.
void LoadText(const std::string& text);

DateRecord MakeDate(int year, int month, int day);
