// One open registry key. Every access is silent: a read that fails stores the
// caller's default, a write that fails is only reported by its result.
#pragma once

#include <windows.h>

class RegKey {
public:
    RegKey() : key(NULL) {}
    ~RegKey() { Close(); }

    int OpenForReading(HKEY root, const char* path);
    int OpenOrCreate(HKEY root, const char* path);
    void Close();

    // Reads succeed only when the stored data fits the buffer; the value's
    // type is never looked at.
    int ReadFlag(const char* name, int* flag, int defaultValue);
    int ReadNumber(const char* name, DWORD* number, DWORD defaultValue);
    // Whether the value exists, whatever its type and size.
    int HasValue(const char* name);
    // Succeeds only when the value holds exactly size bytes.
    int ReadExact(const char* name, void* data, DWORD size);
    // The first byte of a value of any length; 0 when there is none.
    int ReadFirstByte(const char* name, BYTE* first);

    int WriteNumber(const char* name, DWORD number);
    int WriteFlag(const char* name, int flag);
    int WriteBinary(const char* name, const void* data, DWORD size);
    int WriteString(const char* name, const char* text);
    // REG_SZ in UTF-16, for text that the system's code page cannot hold.
    int WriteWideString(const wchar_t* name, const wchar_t* text);
    int DeleteValue(const char* name);

private:
    RegKey(const RegKey&);
    RegKey& operator=(const RegKey&);

    HKEY key;
};
