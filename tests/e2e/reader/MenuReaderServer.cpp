// A test-only in-process automation object for script hosts: PopUpMenuTests.MenuReader. Its one
// method, ReadWhenOpen(path), starts a thread that waits for a pop-up menu of this process to
// open, reads that menu and every submenu as an accessibility client of the process does
// (MN_GETHMENU, then the item data of every item) and writes what it read to `path`:
//   accessible <level> separator | separator-with-data | none | <signature> <cchWText> <text>
// with the text in UTF-16 code units as hexadecimal ("-" when empty), then a last line "done"
// (or "no menu" when none opened). cscript has no other way to run code in its own process.

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/engine/MenuReader.h"

namespace {

// {6B0E1D52-4C1A-4F57-9A0B-5D3C2E7A8F11}
const CLSID kClsid = {0x6b0e1d52, 0x4c1a, 0x4f57, {0x9a, 0x0b, 0x5d, 0x3c, 0x2e, 0x7a, 0x8f, 0x11}};
const wchar_t kClsidText[] = L"{6B0E1D52-4C1A-4F57-9A0B-5D3C2E7A8F11}";
const wchar_t kProgId[] = L"PopUpMenuTests.MenuReader";
constexpr DISPID kReadWhenOpen = 1;
constexpr DWORD kWaitMilliseconds = 60000;

HINSTANCE g_module = nullptr;
LONG g_objects = 0;

BOOL CALLBACK collectMenuWindow(HWND hwnd, LPARAM parameter) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && lstrcmpW(name, L"#32768") == 0)
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(hwnd);
    return TRUE;
}

std::string describe(const popupmenu::testing::ReadMenuItem& item) {
    std::string line = "accessible " + std::to_string(item.level) + " ";
    if (item.separator) return line + (item.itemData == 0 ? "separator" : "separator-with-data");
    if (!item.hasHeader) return line + "none";
    char unit[40];
    std::snprintf(unit, sizeof unit, "%08lx %lu ", static_cast<unsigned long>(MSAA_MENU_SIG),
                  static_cast<unsigned long>(item.length));
    line += unit;
    for (wchar_t c : item.text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c));
        line += unit;
    }
    return item.text.empty() ? line + "-" : line;
}

DWORD WINAPI readWhenOpen(void* parameter) {
    const std::wstring* path = static_cast<std::wstring*>(parameter);
    std::vector<HWND> menus;
    const ULONGLONG deadline = GetTickCount64() + kWaitMilliseconds;
    while (menus.empty() && GetTickCount64() < deadline) {
        Sleep(50);
        EnumWindows(collectMenuWindow, reinterpret_cast<LPARAM>(&menus));
    }
    std::vector<popupmenu::testing::ReadMenuItem> items;
    DWORD_PTR menu = 0;
    if (!menus.empty())
        SendMessageTimeoutW(menus.front(), MN_GETHMENU, 0, 0, SMTO_NORMAL, 10000, &menu);
    if (menu != 0) popupmenu::testing::readMenuTree(reinterpret_cast<HMENU>(menu), items);
    if (FILE* out = _wfopen(path->c_str(), L"w")) {
        for (const auto& item : items) std::fprintf(out, "%s\n", describe(item).c_str());
        std::fprintf(out, "%s\n", menu != 0 ? "done" : "no menu");
        std::fclose(out);
    }
    delete path;
    FreeLibraryAndExitThread(g_module, 0);
}

class MenuReader final : public IDispatch {
public:
    MenuReader() { InterlockedIncrement(&g_objects); }
    ~MenuReader() { InterlockedDecrement(&g_objects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1 || names == nullptr || ids == nullptr) return DISP_E_UNKNOWNNAME;
        if (lstrcmpiW(names[0], L"ReadWhenOpen") != 0) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kReadWhenOpen;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != kReadWhenOpen) return DISP_E_MEMBERNOTFOUND;
        if (parameters == nullptr || parameters->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        VARIANT path;
        VariantInit(&path);
        HRESULT hr = VariantChangeType(&path, &parameters->rgvarg[0], 0, VT_BSTR);
        if (parameters->rgvarg[0].vt == (VT_BYREF | VT_VARIANT))
            hr = VariantChangeType(&path, parameters->rgvarg[0].pvarVal, 0, VT_BSTR);
        if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
        auto* copy = new std::wstring(path.bstrVal, SysStringLen(path.bstrVal));
        VariantClear(&path);
        // The thread keeps the module loaded until it has written its report.
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&readWhenOpen), &self);
        const HANDLE thread = CreateThread(nullptr, 0, readWhenOpen, copy, 0, nullptr);
        if (thread == nullptr) {
            delete copy;
            FreeLibrary(self);
            return E_FAIL;
        }
        CloseHandle(thread);
        return S_OK;
    }

private:
    LONG references_ = 1;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* reader = new MenuReader;
        const HRESULT hr = reader->QueryInterface(iid, out);
        reader->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
Factory g_factory;

bool setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != 0)
        return false;
    const LONG result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == 0;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

// For the machine, in the test's own prefix copy.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    const std::wstring classKey = std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText;
    const bool ok = setValue(classKey + L"\\InprocServer32", nullptr, path) &&
                    setValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                    setValue(std::wstring(L"Software\\Classes\\") + kProgId + L"\\CLSID", nullptr, kClsidText);
    return ok ? S_OK : E_FAIL;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kProgId).c_str());
    return S_OK;
}
