#pragma once

// The one way errors reach the user: message, a line feed and the detail when
// there is one, in a modal box captioned "Tarvendel".
void ShowError(const char* message, const char* detail);
