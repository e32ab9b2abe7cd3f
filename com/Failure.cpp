#include "com/Failure.h"

#include <oleauto.h>

#include <string>

#include "com/ComHandles.h"
#include "model/Value.h"

namespace popupmenu::com {
namespace {

// The system's text for an HRESULT, or an empty string when it has none.
std::wstring systemDescription(HRESULT result) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description;
    if (length != 0 && text != nullptr) {
        description.assign(text, length);
        while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r'))
            description.pop_back();
    }
    LocalFree(text);
    return description;
}

void setErrorInfo(const ClassInfo& source, const std::wstring& description) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return;
    create->SetGUID(source.iid);
    create->SetSource(const_cast<wchar_t*>(source.progId));
    create->SetDescription(const_cast<wchar_t*>(description.c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.put()))))
        SetErrorInfo(0, info.get());
}

struct DispatchFailure {
    HRESULT result;
    long number;
    const wchar_t* description;
};

const DispatchFailure kDispatchFailures[] = {
    {DISP_E_MEMBERNOTFOUND, 438, L"Object doesn't support this property or method"},
    {DISP_E_UNKNOWNNAME, 438, L"Object doesn't support this property or method"},
    {DISP_E_BADPARAMCOUNT, 450, L"Wrong number of arguments or invalid property assignment"},
    {DISP_E_PARAMNOTOPTIONAL, 449, L"Argument not optional"},
    {DISP_E_TYPEMISMATCH, error::TypeMismatch, L"Type mismatch"},
    {DISP_E_OVERFLOW, error::Overflow, L"Overflow"},
    {DISP_E_BADVARTYPE, 458, L"Variable uses an Automation type not supported in this language"},
};

}  // namespace

HRESULT explainDispatchFailure(const ClassInfo& source, HRESULT result, EXCEPINFO* exception) noexcept {
    if (exception == nullptr) return result;
    for (const DispatchFailure& failure : kDispatchFailures) {
        if (failure.result != result) continue;
        BSTR description = SysAllocString(failure.description);
        BSTR sourceName = SysAllocString(source.progId);
        if (description == nullptr || sourceName == nullptr) {
            SysFreeString(description);
            SysFreeString(sourceName);
            return result;  // the code alone still tells the failure
        }
        *exception = EXCEPINFO{};
        exception->bstrSource = sourceName;
        exception->bstrDescription = description;
        exception->scode = hresultOfFailureNumber(failure.number);
        return DISP_E_EXCEPTION;
    }
    return result;
}

HRESULT hresultOfFailureNumber(long number) noexcept {
    if (number == error::OutOfMemory) return E_OUTOFMEMORY;
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

HRESULT reportFailure(const ClassInfo& source, std::exception_ptr failure) noexcept {
    HRESULT result = E_UNEXPECTED;
    try {
        std::wstring description;
        try {
            std::rethrow_exception(failure);
        } catch (const ComError& e) {
            result = e.result();
            description = systemDescription(result);
            if (description.empty()) {
                // Not every system knows a text for every HRESULT (Wine has none for E_POINTER).
                const bool badArgument = result == E_POINTER || result == E_INVALIDARG;
                const std::u16string fallback = makeError(badArgument ? error::InvalidArgument : 0).description();
                description.assign(fallback.begin(), fallback.end());
            }
        } catch (...) {
            const AutomationError automation = failureOf(std::current_exception());
            result = hresultOfFailureNumber(automation.number());
            description.assign(automation.description().begin(), automation.description().end());
        }
        setErrorInfo(source, description);
    } catch (...) {
        // No memory left even for the description: the HRESULT alone still tells the failure.
        SetErrorInfo(0, nullptr);
        if (result == E_UNEXPECTED) result = E_OUTOFMEMORY;
    }
    return result;
}

}  // namespace popupmenu::com
