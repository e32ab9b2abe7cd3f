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

// A registry value as text; nullopt when the key or the value does not exist.
std::optional<std::wstring> readValue(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
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
