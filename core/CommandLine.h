// Command-line and path text operations; pure, so they are tested without Windows.
#pragma once

// Cuts text in place into at most slotCount tokens (space-separated, or
// enclosed in double quotes); slots past the end point at an empty string.
// Returns the number of non-empty tokens.
int SplitCommandLine(char* text, char** tokens, int slotCount);

void UpperCaseAscii(char* text);

// Cuts path right after its last '\', ':' or '/' (a separator in the first
// character does not count); with none the path becomes empty.
void StripFileName(char* path);
