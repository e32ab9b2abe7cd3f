// A host without a manifest of its own that uses PopUpMenu without registration: it makes an
// activation context from the assembly manifest (CreateActCtx; the DLL lies beside the manifest)
// and creates the menu by its ProgID while that context is active, as a macro host can through its
// declarations of the Win32 API; an early-bound host also finds the type library there
// (LoadRegTypeLib). Before that, the same creation must fail: nothing is registered.
//
//   activate.exe <path of PopUpMenu.sxs.manifest>
//
// Prints one line per step; exits 0 when every step went as expected, otherwise with the number
// of the step that did not.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <initializer_list>

#include "PopUpMenu_h.h"
#include "com/ComHandles.h"

namespace {

using popupmenu::com::ComPtr;

// A VARIANT this scope owns.
struct Variant {
    Variant() { VariantInit(&v); }
    explicit Variant(const wchar_t* text) : Variant() {
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(text);
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v); }
    VARIANT v;
};

// An activation context made from a manifest, active while this object lives.
class ActiveContext {
public:
    explicit ActiveContext(const wchar_t* manifest) {
        ACTCTXW description{};
        description.cbSize = sizeof(description);
        description.lpSource = manifest;
        context_ = CreateActCtxW(&description);
        if (context_ == INVALID_HANDLE_VALUE) {
            std::printf("CreateActCtxW failed: error %lu\n", GetLastError());
            return;
        }
        if (!ActivateActCtx(context_, &cookie_)) std::printf("ActivateActCtx failed: error %lu\n", GetLastError());
    }
    ActiveContext(const ActiveContext&) = delete;
    ActiveContext& operator=(const ActiveContext&) = delete;
    ~ActiveContext() {
        if (cookie_) DeactivateActCtx(0, cookie_);
        if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    }
    bool active() const { return cookie_ != 0; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// What a script host does for CreateObject(progId): the class by its ProgID, then an object of it.
HRESULT createByProgId(const wchar_t* progId, ComPtr<IDispatch>& object) {
    CLSID clsid{};
    const HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(object.put()));
}

// Calls a member by name through IDispatch, with string arguments (given in order).
HRESULT call(IDispatch* object, const wchar_t* name, WORD flags, Variant& result,
             std::initializer_list<const wchar_t*> arguments = {}) {
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    Variant args[2];  // in reverse order, as IDispatch takes them
    UINT count = 0;
    for (auto text = std::rbegin(arguments); text != std::rend(arguments) && count < 2; ++text, ++count) {
        args[count].v.vt = VT_BSTR;
        args[count].v.bstrVal = SysAllocString(*text);
    }
    VARIANT raw[2] = {args[0].v, args[1].v};  // shallow copies: args keeps ownership
    DISPPARAMS params{raw, nullptr, count, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result.v, nullptr, nullptr);
}

// Makes a menu inside the active context, adds two items and reads the count back: 2 on success.
int fillMenu() {
    ComPtr<IDispatch> menu;
    const HRESULT hr = createByProgId(L"PopUpMenu.NuvraPopUpMenu", menu);
    std::printf("inside the activation context: creating PopUpMenu.NuvraPopUpMenu: 0x%08lx\n",
                static_cast<unsigned long>(hr));
    if (FAILED(hr)) return -1;
    Variant items, count;
    if (SUCCEEDED(call(menu.get(), L"MenuItems", DISPATCH_METHOD | DISPATCH_PROPERTYGET, items)) &&
        items.v.vt == VT_DISPATCH) {
        Variant first, second;
        call(items.v.pdispVal, L"Add", DISPATCH_METHOD, first, {L"open", L"&Open"});
        call(items.v.pdispVal, L"Add", DISPATCH_METHOD, second, {L"exit", L"E&xit"});
        call(items.v.pdispVal, L"Count", DISPATCH_METHOD | DISPATCH_PROPERTYGET, count);
    }
    const int result = SUCCEEDED(VariantChangeType(&count.v, &count.v, 0, VT_I4)) ? count.v.lVal : -1;
    std::printf("items added through IDispatch: %d\n", result);
    return result;
}

// The type library as an early-bound host looks it up, by its identifier: the number of types, or
// -1 when it is not found.
int registeredTypes() {
    ComPtr<ITypeLib> library;
    if (FAILED(LoadRegTypeLib(LIBID_PopUpMenu, 1, 0, LOCALE_NEUTRAL, library.put()))) return -1;
    return static_cast<int>(library->GetTypeInfoCount());
}

int run(const wchar_t* manifest) {
    {
        ComPtr<IDispatch> object;
        const HRESULT outside = createByProgId(L"PopUpMenu.NuvraPopUpMenu", object);
        std::printf("without the activation context: creating PopUpMenu.NuvraPopUpMenu: 0x%08lx\n",
                    static_cast<unsigned long>(outside));
        if (SUCCEEDED(outside) || registeredTypes() >= 0) return 1;  // registered: this run would prove nothing
    }
    const ActiveContext context(manifest);
    if (!context.active()) return 2;
    if (fillMenu() != 2) return 3;
    const int types = registeredTypes();
    std::printf("inside the activation context: LoadRegTypeLib finds %d types\n", types);
    return types == 6 ? 0 : 4;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: activate.exe <path of PopUpMenu.sxs.manifest>\n");
        return 64;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 65;
    const int code = run(argv[1]);
    CoUninitialize();
    return code;
}
