// Calls of system DLLs found at run time, for what older Windows lacks: a
// program that named them at link time would not start there at all.
#pragma once

#include <windows.h>

#include <string.h>

// The module of a system DLL, loaded from the system folder when the process
// has not loaded it yet (the program delay-loads its window DLLs, so one may
// well not be there at the first look); null when it cannot be loaded.
HMODULE SystemModule(const char* dll);

// The function name of the system DLL dll as a pointer of type Call; null
// where the system lacks it.
template <typename Call>
Call FindSystemCall(const char* dll, const char* name)
{
    HMODULE module = SystemModule(dll);
    FARPROC found = module != NULL ? GetProcAddress(module, name) : NULL;
    static_assert(sizeof(Call) == sizeof found, "a call is a code address");
    Call call = NULL;
    memcpy(&call, &found, sizeof call); // no cast between unrelated function types
    return call;
}

// A call looked up once, for the callers that ask often. Only an answer of
// the DLL itself is kept: while the DLL cannot be had, every use asks again.
template <typename Call>
class SystemCall {
public:
    // Constant: the calls work from the first static constructor on.
    constexpr SystemCall(const char* dllName, const char* callName)
        : dll(dllName), name(callName), call(nullptr), settled(0)
    {
    }
    Call Get()
    {
        if (!settled && SystemModule(dll) != NULL) {
            call = FindSystemCall<Call>(dll, name);
            settled = 1;
        }
        return call;
    }

private:
    const char* dll;
    const char* name;
    Call call;
    int settled;
};
