#pragma once
// The wall at the COM boundary: every member runs its body inside `guarded`, which turns any
// failure into an error HRESULT and the error info (description, source, interface) that
// automation clients read, so that no exception ever reaches a client.
//
// Members with a failure handler of their own (the collection's members, PopUp) have already
// shown their failures in a message box and return normally; what reaches `guarded` from them is
// only what their handler passes on (Add's failed clean-up) or a fault of the call itself.

#include <windows.h>
#include <oaidl.h>

#include <exception>

#include "com/Classes.h"

namespace popupmenu::com {

// A failure that is an HRESULT of its own, such as a null pointer where a result must be stored.
class ComError : public std::exception {
public:
    explicit ComError(HRESULT result) noexcept : result_(result) {}
    HRESULT result() const noexcept { return result_; }
    const char* what() const noexcept override { return "COM error"; }

private:
    HRESULT result_;
};

// What a pointer argument refers to: the place for a result, or a value passed by reference. A
// client that passes no pointer gets E_POINTER.
template <typename T>
T& required(T* pointer) {
    if (pointer == nullptr) throw ComError(E_POINTER);
    return *pointer;
}

// The HRESULT an automation failure number travels as: the number in the low word of a
// FACILITY_CONTROL error, which script hosts show again as that number (Err.Number). Out of
// memory is E_OUTOFMEMORY, as every client expects.
HRESULT hresultOfFailureNumber(long number) noexcept;

// Records the error info for `failure` on this thread and returns its HRESULT.
HRESULT reportFailure(const ClassInfo& source, std::exception_ptr failure) noexcept;

// The outcome of IDispatch::Invoke as a script reads it. DispInvoke reports a call it cannot make
// (no such member, a wrong number of arguments, an argument of the wrong type, an overflow) by a
// DISP_E_ code alone, for which VBScript knows a text and Wine's JScript none (measured: e.message
// stays empty). Such a failure goes out as DISP_E_EXCEPTION, with the run-time error's number as
// a FACILITY_CONTROL code and its usual text in `exception`, so that VBScript's Err and JScript's
// catch read the same number and description. Any other result passes unchanged, and so does
// every result when the caller gave no EXCEPINFO.
HRESULT explainDispatchFailure(const ClassInfo& source, HRESULT result, EXCEPINFO* exception) noexcept;

template <typename Body>
HRESULT guarded(const ClassInfo& source, Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        return reportFailure(source, std::current_exception());
    }
}

}  // namespace popupmenu::com
