// Calls of system DLLs found at run time, for what older Windows lacks: a
// program that named them at link time would not start there at all.
#pragma once

#include <windows.h>

#include <string.h>

// The function name of dll, which must be loaded already, as a pointer of
// type Call; null where the system lacks it.
template <typename Call>
Call FindSystemCall(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    FARPROC found = module != NULL ? GetProcAddress(module, name) : NULL;
    static_assert(sizeof(Call) == sizeof found, "a call is a code address");
    Call call = NULL;
    memcpy(&call, &found, sizeof call); // no cast between unrelated function types
    return call;
}
