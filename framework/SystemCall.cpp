#include "SystemCall.h"

#include "../core/BoundedString.h"

HMODULE SystemModule(const char* dll)
{
    HMODULE module = GetModuleHandleA(dll);
    if (module != NULL)
        return module;
    // Never by the plain search order, which looks beside the program and in
    // the current folder first.
    const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    module = LoadLibraryExA(dll, NULL, kSearchSystem32);
    if (module != NULL)
        return module;
    // Windows 7 without its loader update refuses the flag: the full path.
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return NULL;
    if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, dll))
        return NULL;
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
