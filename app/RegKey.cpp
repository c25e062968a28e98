#include "RegKey.h"

#include "../framework/SystemCall.h"

#include <string.h>

// Since Windows 7 kernel32 opens, creates, reads, writes and closes keys as
// well. Taken from there, a start that ends unseen never loads advapi32 and
// what it needs, which would cost it more than all its own steps with a
// short file, also when it keeps what it found in a long one; advapi32 is
// loaded for the rest (a wide text, a value deleted) and by the windows.
typedef LONG(WINAPI* OpenKeyCall)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
typedef LONG(WINAPI* CreateKeyCall)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM,
                                    LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
typedef LONG(WINAPI* QueryValueCall)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef LONG(WINAPI* SetValueCall)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
typedef LONG(WINAPI* CloseKeyCall)(HKEY);
static SystemCall<OpenKeyCall> kernelOpenKey("kernel32.dll", "RegOpenKeyExA");
static SystemCall<CreateKeyCall> kernelCreateKey("kernel32.dll", "RegCreateKeyExA");
static SystemCall<QueryValueCall> kernelQueryValue("kernel32.dll", "RegQueryValueExA");
static SystemCall<SetValueCall> kernelSetValue("kernel32.dll", "RegSetValueExA");
static SystemCall<CloseKeyCall> kernelCloseKey("kernel32.dll", "RegCloseKey");

static LONG OpenKey(HKEY root, const char* path, HKEY* key)
{
    OpenKeyCall call = kernelOpenKey.Get();
    return call != NULL ? call(root, path, 0, KEY_READ, key)
                        : RegOpenKeyExA(root, path, 0, KEY_READ, key);
}

static LONG CreateKey(HKEY root, const char* path, HKEY* key)
{
    CreateKeyCall call = kernelCreateKey.Get();
    DWORD disposition = 0;
    return call != NULL ? call(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                               key, &disposition)
                        : RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, NULL, key, &disposition);
}

static LONG QueryValue(HKEY key, const char* name, BYTE* data, DWORD* size)
{
    QueryValueCall call = kernelQueryValue.Get();
    return call != NULL ? call(key, name, NULL, NULL, data, size)
                        : RegQueryValueExA(key, name, NULL, NULL, data, size);
}

static int SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size)
{
    SetValueCall call = kernelSetValue.Get();
    const BYTE* bytes = (const BYTE*)data;
    return key != NULL && (call != NULL ? call(key, name, 0, type, bytes, size)
                                        : RegSetValueExA(key, name, 0, type, bytes, size)) ==
                              ERROR_SUCCESS;
}

int RegKey::OpenForReading(HKEY root, const char* path)
{
    Close();
    return OpenKey(root, path, &key) == ERROR_SUCCESS;
}

int RegKey::OpenOrCreate(HKEY root, const char* path)
{
    Close();
    return CreateKey(root, path, &key) == ERROR_SUCCESS;
}

void RegKey::Close()
{
    if (key == NULL)
        return;
    CloseKeyCall call = kernelCloseKey.Get();
    if (call != NULL)
        call(key);
    else
        RegCloseKey(key);
    key = NULL;
}

int RegKey::ReadFlag(const char* name, int* flag, int defaultValue)
{
    BYTE byte = 0;
    DWORD size = sizeof byte;
    if (key == NULL || QueryValue(key, name, &byte, &size) != ERROR_SUCCESS) {
        *flag = defaultValue;
        return 0;
    }
    *flag = byte != 0;
    return 1;
}

int RegKey::ReadNumber(const char* name, DWORD* number, DWORD defaultValue)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (key == NULL ||
        QueryValue(key, name, (BYTE*)&value, &size) != ERROR_SUCCESS) {
        *number = defaultValue;
        return 0;
    }
    *number = value;
    return 1;
}

int RegKey::HasValue(const char* name)
{
    return key != NULL && QueryValue(key, name, NULL, NULL) == ERROR_SUCCESS;
}

int RegKey::ReadExact(const char* name, void* data, DWORD size)
{
    BYTE buffer[64];
    DWORD length = sizeof buffer;
    if (key == NULL || size > sizeof buffer ||
        QueryValue(key, name, buffer, &length) != ERROR_SUCCESS ||
        length != size)
        return 0;
    memcpy(data, buffer, size);
    return 1;
}

int RegKey::WriteNumber(const char* name, DWORD number)
{
    return SetValue(key, name, REG_DWORD, &number, sizeof number);
}

int RegKey::WriteFlag(const char* name, int flag)
{
    BYTE byte = flag != 0 ? 1 : 0;
    return WriteBinary(name, &byte, 1);
}

int RegKey::WriteBinary(const char* name, const void* data, DWORD size)
{
    return SetValue(key, name, REG_BINARY, data, size);
}

int RegKey::WriteString(const char* name, const char* text)
{
    return SetValue(key, name, REG_SZ, text, (DWORD)strlen(text) + 1);
}

int RegKey::DeleteValue(const char* name)
{
    return key != NULL && RegDeleteValueA(key, name) == ERROR_SUCCESS;
}

int RegKey::ReadFirstByte(const char* name, BYTE* first)
{
    if (key == NULL)
        return 0;
    BYTE data[64];
    DWORD size = sizeof data;
    LONG read = QueryValue(key, name, data, &size);
    if (read == ERROR_SUCCESS && size > 0) {
        *first = data[0];
        return 1;
    }
    if (read != ERROR_MORE_DATA)
        return 0;
    // Longer than any such value should be; it still counts.
    BYTE* whole = (BYTE*)GlobalAlloc(GMEM_FIXED, size);
    if (whole == NULL)
        return 0;
    read = QueryValue(key, name, whole, &size);
    *first = whole[0];
    GlobalFree(whole);
    return read == ERROR_SUCCESS && size > 0;
}

int RegKey::WriteWideString(const wchar_t* name, const wchar_t* text)
{
    DWORD length = 0;
    while (text[length] != L'\0')
        ++length;
    return key != NULL &&
           RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          (length + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
}
