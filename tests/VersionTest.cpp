// What Windows reads from the built Tarvendel.exe before any of its code runs:
// the version resource (file properties, "Apps") and the application manifest
// (the program loader), read back through the system's own calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

// Tarvendel.exe is built into the same folder as the test programs.
std::string ProgramPath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder = path;
    return folder.erase(folder.find_last_of("\\/") + 1) + "Tarvendel.exe";
}

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_NE(0u, size) << path << " has no version resource, error " << GetLastError();
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    }

    // A value of the string table that the Translation entry names, the one
    // Explorer shows; empty when it is missing.
    std::string Text(const char* name)
    {
        WORD* translation = NULL;
        UINT length = 0;
        if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation,
                            &length) ||
            length < 2 * sizeof(WORD))
            return "";
        char query[80];
        snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                 translation[1], name);
        char* value = NULL;
        if (!VerQueryValueA(block.data(), query, (void**)&value, &length) || value == NULL)
            return "";
        // length counts the terminating NUL where the compiler stored one.
        return std::string(value, strnlen(value, length));
    }

    std::string path = ProgramPath();
    std::vector<char> block;
};

TEST_F(VersionResource, FileAndProductVersionAre1_32_0_0)
{
    VS_FIXEDFILEINFO* info = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&info, &length));
    ASSERT_GE(length, sizeof *info);
    EXPECT_EQ(0xFEEF04BDu, info->dwSignature);
    EXPECT_EQ(MAKELONG(32, 1), (LONG)info->dwFileVersionMS);
    EXPECT_EQ(0u, info->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(32, 1), (LONG)info->dwProductVersionMS);
    EXPECT_EQ(0u, info->dwProductVersionLS);
    EXPECT_EQ((DWORD)VFT_APP, info->dwFileType);
    EXPECT_EQ(0u, info->dwFileFlags & info->dwFileFlagsMask & (VS_FF_DEBUG | VS_FF_PRERELEASE))
        << "a release marked as a test build";
}

TEST_F(VersionResource, PropertiesNameTheProgramAndItsMakers)
{
    const struct {
        const char* name;
        const char* text;
    } expected[] = {
        {"ProductName", "Tarvendel"},  {"OriginalFilename", "Tarvendel.exe"},
        {"FileVersion", "1.32.0.0"},   {"ProductVersion", "1.32.0.0"},
        {"CompanyName", "Tarvendel developers"},
        {"LegalCopyright", "Copyright (c) 2026 Tarvendel developers"},
    };
    for (const auto& value : expected)
        EXPECT_EQ(value.text, Text(value.name)) << value.name;
    // Shown as the program's name in Task Manager and in "Open with".
    EXPECT_NE(std::string::npos, Text("FileDescription").find("Tarvendel"));
}

class Manifest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (context != INVALID_HANDLE_VALUE)
            ReleaseActCtx(context);
    }

    // The activation context that the loader makes from the program's
    // manifest at start; a manifest it cannot parse stops the program there.
    void CreateContext()
    {
        ACTCTXA request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        context = CreateActCtxA(&request);
        ASSERT_NE(INVALID_HANDLE_VALUE, context)
            << "the manifest of " << path << " is not accepted, error " << GetLastError();
    }

    std::string path = ProgramPath();
    HANDLE context = INVALID_HANDLE_VALUE;
};

BOOL CALLBACK CountManifest(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR count)
{
    EnumResourceLanguagesA(module, type, name,
                           [](HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR languages) -> BOOL {
                               return ++*(int*)languages > 0;
                           },
                           count);
    return TRUE;
}

TEST_F(Manifest, TheProgramCarriesExactlyOne)
{
    // A second one (another name or language) leaves it to the loader which
    // one counts; a toolchain's default manifest must not have slipped in.
    HMODULE module =
        LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE((HMODULE)NULL, module) << path << ", error " << GetLastError();
    int manifests = 0;
    EnumResourceNamesA(module, RT_MANIFEST, CountManifest, (LONG_PTR)&manifests);
    EXPECT_EQ(1, manifests);
    EXPECT_NE((HRSRC)NULL, FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST));
    FreeLibrary(module);
}

TEST_F(Manifest, RunsAsInvokerWithoutAskingForAdministratorRights)
{
    ASSERT_NO_FATAL_FAILURE(CreateContext());
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T needed = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &level,
                             sizeof level, &needed));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);
}

TEST_F(Manifest, DeclaresWindows7To11AsSupported)
{
    ASSERT_NO_FATAL_FAILURE(CreateContext());
    std::vector<BYTE> buffer(1024);
    SIZE_T needed = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext,
                             buffer.data(), buffer.size(), &needed));
    DWORD count = *(DWORD*)buffer.data();
    // Newer systems append a 64-bit "highest version tested" to each element,
    // which also moves the array to an 8-byte boundary.
    size_t offset = 4;
    size_t stride = sizeof(GUID) + sizeof(DWORD);
    if (count > 0 && needed == 8 + count * 32) {
        offset = 8;
        stride = 32;
    }
    ASSERT_EQ(offset + count * stride, needed);

    std::vector<GUID> systems;
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* element = buffer.data() + offset + i * stride;
        DWORD type = *(const DWORD*)(element + sizeof(GUID));
        if (type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            systems.push_back(*(const GUID*)element);
    }
    const GUID expected[] = {
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}}, // 7
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}}, // 8
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}}, // 8.1
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}, // 10, 11
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], systems.size());
    for (size_t i = 0; i < systems.size(); ++i)
        EXPECT_TRUE(IsEqualGUID(expected[i], systems[i])) << "supportedOS entry " << i;
}

TEST_F(Manifest, DeclaresPerMonitorDpiAwareness)
{
    // Without it Windows stretches the windows' bitmaps on a scaled screen
    // and every letter comes out blurred.
    ASSERT_NO_FATAL_FAILURE(CreateContext());
    const struct {
        const wchar_t* schema; // null: the 2005 WindowsSettings schema
        const wchar_t* name;
        const wchar_t* value;
    } settings[] = {
        {NULL, L"dpiAware", L"true/pm"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
         L"PerMonitorV2, PerMonitor"},
    };
    for (const auto& setting : settings) {
        wchar_t value[64] = L"";
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, setting.schema, setting.name, value,
                                         sizeof value / sizeof value[0], &written))
            << "no " << (const char*)(setting.schema == NULL ? "dpiAware" : "dpiAwareness");
        EXPECT_EQ(0, wcscmp(setting.value, value));
    }
}

} // namespace
