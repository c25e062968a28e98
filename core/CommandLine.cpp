#include "CommandLine.h"

int SplitCommandLine(char* text, char** tokens, int slotCount)
{
    int nonEmpty = 0;
    char* p = text;
    for (int slot = 0; slot < slotCount; ++slot) {
        while (*p == ' ')
            ++p;
        char end = ' ';
        if (*p == '"') {
            end = '"';
            ++p;
        }
        tokens[slot] = p;
        while (*p != '\0' && *p != end)
            ++p;
        if (p != tokens[slot])
            ++nonEmpty;
        if (*p != '\0')
            *p++ = '\0';
    }
    return nonEmpty;
}

void UpperCaseAscii(char* text)
{
    for (char* p = text; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = (char)(*p - 'a' + 'A');
    }
}

void StripFileName(char* path)
{
    if (path[0] == '\0')
        return;
    int cut = 0;
    for (int i = 1; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == ':' || path[i] == '/')
            cut = i + 1;
    }
    path[cut] = '\0';
}
