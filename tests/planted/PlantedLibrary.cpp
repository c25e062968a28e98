// A stand-in for a system library, planted beside the program by the tests:
// loading it leaves a file named "planted-loaded" in its own folder.
#include <windows.h>

#include <string.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(self, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return TRUE;
    char* slash = strrchr(path, '\\');
    if (slash == NULL || (size_t)(slash - path) + sizeof "\\planted-loaded" > sizeof path)
        return TRUE;
    memcpy(slash, "\\planted-loaded", sizeof "\\planted-loaded");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE)
        CloseHandle(marker);
    return TRUE;
}
