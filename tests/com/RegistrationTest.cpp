// Self-registration round trips with the system's regsvr32, in the private Wine prefix the test
// fixture provides: machine-wide (DllRegisterServer / DllUnregisterServer) and for the current
// user only (DllInstall through regsvr32 /n /i:user).

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

using namespace std::chrono_literals;

struct Class {
    const CLSID* clsid;
    const wchar_t* progId;
    const IID* iid;
};
const Class kClasses[] = {{&CLSID_NuvraPopUpMenu, L"PopUpMenu.NuvraPopUpMenu", &IID__NuvraPopUpMenu},
                          {&CLSID_MenuItems, L"PopUpMenu.MenuItems", &IID__MenuItems},
                          {&CLSID_MenuItem, L"PopUpMenu.MenuItem", &IID__MenuItem}};

std::wstring guidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

const wchar_t* const kMachineClasses = L"Software\\Classes\\";

// A registry value as text; nullopt when the key or the value does not exist. `view` may name the
// other registry view (KEY_WOW64_32KEY or KEY_WOW64_64KEY).
std::optional<std::wstring> readValue(HKEY root, const std::wstring& path, const wchar_t* name = nullptr,
                                      REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return std::nullopt;
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    const LSTATUS status = RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(value);
}

bool keyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The registry view of the library's build of the other bitness: the 32-bit view for a 64-bit
// process, the 64-bit view for a 32-bit one under WOW64; none on 32-bit Windows.
std::optional<REGSAM> otherView() {
    if constexpr (sizeof(void*) == 8) return KEY_WOW64_32KEY;
    BOOL underWow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &underWow64) && underWow64) return KEY_WOW64_64KEY;
    return std::nullopt;
}

std::wstring typeLibraryPathKey() {
    return std::wstring(L"Software\\Classes\\TypeLib\\") + guidText(LIBID_PopUpMenu) + L"\\1.0\\0\\win32";
}

// Every key registration makes, relative to a classes root.
std::vector<std::wstring> registeredKeys() {
    std::vector<std::wstring> keys;
    for (const Class& c : kClasses) {
        keys.push_back(L"CLSID\\" + guidText(*c.clsid));
        keys.push_back(c.progId);
        keys.push_back(L"Interface\\" + guidText(*c.iid));
    }
    keys.push_back(L"TypeLib\\" + guidText(LIBID_PopUpMenu));
    return keys;
}

// The registration as COM reads it, under one classes root.
void expectRegistrationUnder(HKEY root, const std::wstring& module) {
    const std::wstring classes = kMachineClasses;
    for (const Class& c : kClasses) {
        SCOPED_TRACE(std::string(c.progId, c.progId + wcslen(c.progId)));
        const std::wstring clsidKey = classes + L"CLSID\\" + guidText(*c.clsid);
        EXPECT_EQ(readValue(root, clsidKey + L"\\InprocServer32"), module);
        EXPECT_EQ(readValue(root, clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(readValue(root, clsidKey + L"\\ProgID"), c.progId);
        EXPECT_EQ(readValue(root, clsidKey + L"\\TypeLib"), guidText(LIBID_PopUpMenu));
        EXPECT_EQ(readValue(root, classes + c.progId + L"\\CLSID"), guidText(*c.clsid));
        EXPECT_EQ(readValue(root, classes + L"Interface\\" + guidText(*c.iid) + L"\\TypeLib"),
                  guidText(LIBID_PopUpMenu))
            << "the dual interface is registered with its type library";
    }
    EXPECT_EQ(readValue(root, classes + L"TypeLib\\" + guidText(LIBID_PopUpMenu) + L"\\1.0\\0\\win32"), module);
}

void expectNothingUnder(HKEY root) {
    for (const std::wstring& key : registeredKeys())
        EXPECT_FALSE(keyExists(root, kMachineClasses + key)) << std::string(key.begin(), key.end()) << " is left";
}

// The key each registry view has of its own, on Windows and under Wine: a class's CLSID, which
// names the module of the view's bitness. (oleaut32 registers a type library's interfaces in both
// views: they are not checked.)
void expectNoClassesInView(REGSAM view) {
    const std::wstring classes = kMachineClasses;
    for (const Class& c : kClasses)
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, classes + L"CLSID\\" + guidText(*c.clsid), view));
}

// The library's build of the other bitness registered machine-wide, as its regsvr32 leaves the
// registry: its module for each class and the ProgIDs in the other view, and the type library
// (a key both views share) naming its module. Written by hand, so that the tests run where only
// one bitness can execute; removed again on destruction.
class OtherBuildRegistration {
public:
    static constexpr const wchar_t* kModule = L"C:\\OtherBuild\\PopUpMenu.dll";

    explicit OtherBuildRegistration(REGSAM view) : view_(view) {
        for (const Class& c : kClasses) {
            const std::wstring clsidKey = kMachineClasses + (L"CLSID\\" + guidText(*c.clsid));
            set(clsidKey + L"\\InprocServer32", nullptr, kModule);
            set(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
            set(kMachineClasses + (c.progId + std::wstring(L"\\CLSID")), nullptr, guidText(*c.clsid));
        }
        set(typeLibraryPathKey(), nullptr, kModule);
    }
    OtherBuildRegistration(const OtherBuildRegistration&) = delete;
    OtherBuildRegistration& operator=(const OtherBuildRegistration&) = delete;
    ~OtherBuildRegistration() {
        for (const Class& c : kClasses) {
            remove(kMachineClasses + (L"CLSID\\" + guidText(*c.clsid)));
            remove(kMachineClasses + std::wstring(c.progId));
        }
        remove(kMachineClasses + (L"TypeLib\\" + guidText(LIBID_PopUpMenu)));
    }

private:
    void set(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    void remove(const std::wstring& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | view_, &key) != ERROR_SUCCESS) return;
        RegDeleteTreeW(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), view_, 0);
    }
    REGSAM view_;
};

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Whatever an earlier, interrupted run left behind.
        regsvr32(L"/u");
        regsvr32(L"/u /n /i:user");
    }
    void TearDown() override { SetUp(); }

    int regsvr32(const std::wstring& options) {
        return runProgram(L"regsvr32.exe /s " + options + L" \"" + module + L"\"", 120s).exitCode;
    }

    Apartment apartment;
    const std::wstring module = builtModulePath();
};

TEST_F(RegistrationTest, MachineWideRoundTrip) {
    ASSERT_EQ(regsvr32(L""), 0);
    expectRegistrationUnder(HKEY_LOCAL_MACHINE, module);
    expectNothingUnder(HKEY_CURRENT_USER);
    if (const std::optional<REGSAM> view = otherView()) {
        SCOPED_TRACE("the other build's registry view");
        expectNoClassesInView(*view);
    }

    for (const Class& c : kClasses) {
        SCOPED_TRACE(std::string(c.progId, c.progId + wcslen(c.progId)));
        CLSID clsid{};
        ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid));
        EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
        ComPtr<IUnknown> object;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, *c.iid,
                                                  reinterpret_cast<void**>(object.put())));
        ComPtr<IDispatch> dispatch;
        ASSERT_HRESULT_SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())));
        UINT typeInfos = 0;
        EXPECT_HRESULT_SUCCEEDED(dispatch->GetTypeInfoCount(&typeInfos));
        EXPECT_EQ(typeInfos, 1u);
    }
    ComPtr<ITypeLib> library;
    EXPECT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_PopUpMenu, 1, 0, 0, library.put()));
    library.reset();

    ASSERT_EQ(regsvr32(L"/u"), 0);
    expectNothingUnder(HKEY_LOCAL_MACHINE);
    for (const Class& c : kClasses) {
        CLSID clsid{};
        EXPECT_HRESULT_FAILED(CLSIDFromProgID(c.progId, &clsid)) << "the ProgID still resolves";
        ComPtr<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(object.put())),
                  REGDB_E_CLASSNOTREG);
    }
    EXPECT_HRESULT_FAILED(LoadRegTypeLib(LIBID_PopUpMenu, 1, 0, 0, library.put()));
    EXPECT_EQ(regsvr32(L"/u"), 0) << "unregistering what is not registered is no failure";
}

TEST_F(RegistrationTest, PerUserRoundTripStaysInTheUsersKeys) {
    ASSERT_EQ(regsvr32(L"/n /i:user"), 0);
    expectRegistrationUnder(HKEY_CURRENT_USER, module);
    expectNothingUnder(HKEY_LOCAL_MACHINE);

    ASSERT_EQ(regsvr32(L"/u /n /i:user"), 0);
    expectNothingUnder(HKEY_CURRENT_USER);
    expectNothingUnder(HKEY_LOCAL_MACHINE);
}

TEST_F(RegistrationTest, PerUserProgIdsResolve) {
    // Windows reads HKEY_CURRENT_USER\Software\Classes before the machine's classes; Wine 8 reads
    // only the machine's (measured: CLSIDFromProgID answers CO_E_CLASSSTRING for a ProgID that is
    // registered for the user alone). Where the system does not, there is nothing to resolve.
    ASSERT_EQ(regsvr32(L"/n /i:user"), 0);
    expectNothingUnder(HKEY_LOCAL_MACHINE);  // so what resolves, resolves from the user's keys
    CLSID clsid{};
    if (CLSIDFromProgID(kClasses[0].progId, &clsid) == CO_E_CLASSSTRING)
        GTEST_SKIP() << "this system does not read per-user class registrations";
    for (const Class& c : kClasses) {
        ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid));
        ComPtr<IUnknown> object;
        EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, *c.iid,
                                                  reinterpret_cast<void**>(object.put())));
    }
}

// Both builds registered in one 64-bit system: each view keeps its own module, and unregistering
// one build leaves the other's registration whole, the keys the views share included.
TEST_F(RegistrationTest, SideBySideWithTheOtherBuild) {
    const std::optional<REGSAM> view = otherView();
    if (!view) GTEST_SKIP() << "32-bit Windows has a single registry view";
    OtherBuildRegistration otherBuild(*view);
    const std::wstring classes = kMachineClasses;
    const std::wstring nuvraServer = classes + L"CLSID\\" + guidText(CLSID_NuvraPopUpMenu) + L"\\InprocServer32";

    ASSERT_EQ(regsvr32(L""), 0);
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, nuvraServer), module);
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, nuvraServer, nullptr, *view), OtherBuildRegistration::kModule);
    // The shared type library path names the 32-bit module whenever one is registered.
    const std::wstring module32 = sizeof(void*) == 8 ? std::wstring(OtherBuildRegistration::kModule) : module;
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, typeLibraryPathKey()), module32);
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"PopUpMenu.NuvraPopUpMenu", &clsid));
    ComPtr<IDispatch> menu;
    EXPECT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(menu.put())))
        << "this build's view names this build's module";
    menu.reset();

    ASSERT_EQ(regsvr32(L"/u"), 0);
    for (const Class& c : kClasses) {
        SCOPED_TRACE(std::string(c.progId, c.progId + wcslen(c.progId)));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, classes + L"CLSID\\" + guidText(*c.clsid)));
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, classes + L"CLSID\\" + guidText(*c.clsid) + L"\\InprocServer32",
                            nullptr, *view),
                  OtherBuildRegistration::kModule);
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, classes + c.progId + L"\\CLSID", nullptr, *view), guidText(*c.clsid))
            << "the other build's ProgID is gone";
    }
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, typeLibraryPathKey(), nullptr, *view), OtherBuildRegistration::kModule)
        << "the other build's type library is gone or names the unregistered module";
}

TEST_F(RegistrationTest, UnregisteringKeepsAProgIdThatAnotherClassTookOver) {
    ASSERT_EQ(regsvr32(L""), 0);
    const std::wstring progIdKey = kMachineClasses + std::wstring(L"PopUpMenu.MenuItem") + L"\\CLSID";
    const std::wstring other = guidText(IID_IDispatch);
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, progIdKey.c_str(), nullptr, REG_SZ, other.c_str(),
                              static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_EQ(regsvr32(L"/u"), 0);
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, progIdKey), other);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kMachineClasses + std::wstring(L"PopUpMenu.MenuItem")).c_str());
}

}  // namespace
}  // namespace popupmenu::comtest
