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

}  // namespace

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
