#pragma once
// Owners for the Windows resources the automation layer holds: COM interface references, BSTRs
// and registry keys. Each releases what it holds on every path out of a scope.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace popupmenu::com {

// One counted reference to a COM interface.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already owns (what an out parameter returned).
    static ComPtr adopt(Interface* p) noexcept {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    Interface* get() const noexcept { return p_; }
    Interface* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out parameters: releases what is held and hands out the slot to fill.
    Interface** put() noexcept {
        reset();
        return &p_;
    }
    // Hands the reference to the caller (an out parameter of a COM method).
    Interface* detach() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    Interface* p_ = nullptr;
};

// The one owner of a plain Windows handle or pointer that `Release` frees: moves, never copies,
// and frees what it holds on every path out of a scope.
template <typename Value, auto Release>
class UniqueValue {
public:
    UniqueValue() = default;
    explicit UniqueValue(Value value) noexcept : value_(value) {}
    UniqueValue(const UniqueValue&) = delete;
    UniqueValue& operator=(const UniqueValue&) = delete;
    UniqueValue(UniqueValue&& other) noexcept : value_(std::exchange(other.value_, Value{})) {}
    UniqueValue& operator=(UniqueValue&& other) noexcept {
        reset(std::exchange(other.value_, Value{}));
        return *this;
    }
    ~UniqueValue() { reset(); }

    Value get() const noexcept { return value_; }
    // For out parameters: frees what is held and hands out the slot to fill.
    Value* put() noexcept {
        reset();
        return &value_;
    }
    // Hands the value to the caller (an out parameter of a COM method).
    Value detach() noexcept { return std::exchange(value_, Value{}); }
    void reset(Value value = Value{}) noexcept {
        if (value_) Release(value_);
        value_ = value;
    }

private:
    Value value_{};
};

inline void freeBstr(BSTR s) noexcept { SysFreeString(s); }
inline void closeRegKey(HKEY key) noexcept { RegCloseKey(key); }

// A BSTR this scope owns.
class Bstr : public UniqueValue<BSTR, &freeBstr> {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text);  // throws std::bad_alloc when the copy cannot be made
};

// The text of a BSTR (a null BSTR is the empty string; embedded zeros are kept).
std::u16string fromBstr(BSTR s);

// An open registry key.
using RegKey = UniqueValue<HKEY, &closeRegKey>;

}  // namespace popupmenu::com
