#include "Automation.h"

#include <stdexcept>

namespace demo {
namespace {

[[noreturn]] void fail(const std::wstring& what, HRESULT hr, EXCEPINFO* info = nullptr) {
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    std::wstring message = what + L" failed (" + code + L")";
    if (info != nullptr) {
        if (info->bstrDescription != nullptr) message += std::wstring(L": ") + info->bstrDescription;
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
    }
    throw std::runtime_error(utf8(message));
}

DISPID memberId(IDispatch* object, const wchar_t* member) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) fail(std::wstring(L"looking up ") + member, hr);
    return id;
}

Variant invoke(IDispatch* object, const wchar_t* member, WORD kind, std::vector<Variant>& args) {
    if (object == nullptr) throw std::runtime_error("no object to call " + utf8(member) + " on");
    // Invoke takes the arguments last to first.
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->get());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    Variant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    const HRESULT hr = object->Invoke(memberId(object, member), IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
                                      kind == DISPATCH_PROPERTYPUT ? nullptr : result.get(), &info, &badArgument);
    if (FAILED(hr)) fail(member, hr, hr == DISP_E_EXCEPTION ? &info : nullptr);
    return result;
}

}  // namespace

std::string utf8(std::wstring_view text) {
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

Variant::Variant(const wchar_t* text) : Variant() {
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = SysAllocString(text);
}

Variant::Variant(const Variant& other) : Variant() {
    VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    return *this;
}

Variant Variant::missing() noexcept {
    Variant result;
    V_VT(&result.value_) = VT_ERROR;
    V_ERROR(&result.value_) = DISP_E_PARAMNOTFOUND;
    return result;
}

std::wstring Variant::text() const {
    Variant copy;
    const HRESULT hr = VariantChangeType(copy.get(), const_cast<VARIANT*>(&value_), 0, VT_BSTR);
    if (FAILED(hr)) fail(L"converting a result to a string", hr);
    const BSTR s = V_BSTR(copy.get());
    return s != nullptr ? std::wstring(s, SysStringLen(s)) : std::wstring();
}

Object Variant::object() const {
    Object result;
    if (V_VT(&value_) == VT_DISPATCH && V_DISPATCH(&value_) != nullptr) result = V_DISPATCH(&value_);
    return result;
}

Object createObject(const wchar_t* progId) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) fail(std::wstring(L"finding the class ") + progId, hr);
    Object object;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(hr)) fail(std::wstring(L"creating ") + progId, hr);
    return object;
}

Variant call(IDispatch* object, const wchar_t* member, std::vector<Variant> args) {
    return invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

void put(IDispatch* object, const wchar_t* property, Variant value) {
    std::vector<Variant> args{value};
    invoke(object, property, DISPATCH_PROPERTYPUT, args);
}

}  // namespace demo
