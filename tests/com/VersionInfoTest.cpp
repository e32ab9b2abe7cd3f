// The module's version resource as Explorer and installers read it: through GetFileVersionInfo
// and VerQueryValue, from the built PopUpMenu.dll. The expected version is the project's
// (CMakeLists.txt passes it in as POPUPMENU_VERSION).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

std::wstring widen(const char* text) { return std::wstring(text, text + strlen(text)); }

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(module.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "the module has no version resource (error " << GetLastError() << ")";
        data.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(module.c_str(), 0, size, data.data()));
    }

    // A value of the version resource; nullptr when there is none.
    const void* query(const std::wstring& path, UINT* length = nullptr) {
        void* value = nullptr;
        UINT size = 0;
        if (!VerQueryValueW(data.data(), path.c_str(), &value, &size)) return nullptr;
        if (length) *length = size;
        return value;
    }
    // A string of the table the resource's first translation names.
    std::wstring string(const wchar_t* name) {
        UINT length = 0;
        const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", &length));
        if (translation == nullptr || length < 4) return L"(no translation)";
        wchar_t table[64];
        swprintf(table, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name);
        const auto* text = static_cast<const wchar_t*>(query(table, &length));
        return text ? std::wstring(text) : L"(missing)";
    }

    const std::wstring module = builtModulePath();
    std::vector<BYTE> data;
};

TEST_F(VersionInfoTest, FixedPartCarriesTheProjectVersion) {
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    const std::wstring fileVersion = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                     std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                     std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                                     std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(fileVersion, widen(POPUPMENU_VERSION) + L".0");
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a release is no debug, pre-release or patched build";
}

TEST_F(VersionInfoTest, StringsNameTheProduct) {
    struct Case {
        const wchar_t* name;
        std::wstring value;
    };
    const Case cases[] = {
        {L"ProductName", L"PopUpMenu"},
        {L"OriginalFilename", L"PopUpMenu.dll"},
        {L"InternalName", L"PopUpMenu"},
        {L"FileVersion", widen(POPUPMENU_VERSION)},
        {L"ProductVersion", widen(POPUPMENU_VERSION)},
        {L"OLESelfRegister", L""},  // installers register a module that carries it
    };
    for (const Case& c : cases) EXPECT_EQ(string(c.name), c.value) << std::string(c.name, c.name + wcslen(c.name));
    const std::wstring description = string(L"FileDescription");
    EXPECT_NE(description.find(sizeof(void*) == 8 ? L"64-bit" : L"32-bit"), std::wstring::npos)
        << "the description names the module's bitness";
}

}  // namespace
}  // namespace popupmenu::comtest
