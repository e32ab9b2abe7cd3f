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

// A BSTR this scope owns.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text);  // throws std::bad_alloc when the copy cannot be made
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(s_, other.s_);
        return *this;
    }
    ~Bstr() { SysFreeString(s_); }

    BSTR get() const noexcept { return s_; }
    BSTR* put() noexcept {
        SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    BSTR detach() noexcept { return std::exchange(s_, nullptr); }

private:
    BSTR s_ = nullptr;
};

// The text of a BSTR (a null BSTR is the empty string; embedded zeros are kept).
std::u16string fromBstr(BSTR s);

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        std::swap(key_, other.key_);
        return *this;
    }
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }

    HKEY get() const noexcept { return key_; }
    HKEY* put() noexcept {
        if (key_) RegCloseKey(std::exchange(key_, nullptr));
        return &key_;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace popupmenu::com
