#pragma once
// Calling an automation object by member name, the way a script host does: IDispatch's
// GetIDsOfNames, then Invoke. Failures become std::runtime_error with the server's description.

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>
#include <string_view>
#include <vector>

namespace demo {

using Object = Microsoft::WRL::ComPtr<IDispatch>;

// A VARIANT that owns what it holds.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    Variant(const wchar_t* text);
    Variant(long number) noexcept : Variant() { V_VT(&value_) = VT_I4; V_I4(&value_) = number; }
    Variant(bool flag) noexcept : Variant() { V_VT(&value_) = VT_BOOL; V_BOOL(&value_) = flag ? VARIANT_TRUE : VARIANT_FALSE; }
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    ~Variant() { VariantClear(&value_); }

    // An optional argument left out in the middle of an argument list.
    static Variant missing() noexcept;

    VARIANT* get() noexcept { return &value_; }
    std::wstring text() const;  // the value converted to a string
    Object object() const;      // the object held, or null

private:
    VARIANT value_;
};

// UTF-8 for printing.
std::string utf8(std::wstring_view text);

// Creates an object of a registered class by its programmatic identifier.
Object createObject(const wchar_t* progId);

// A method or property get with its arguments in the written order; returns the result.
Variant call(IDispatch* object, const wchar_t* member, std::vector<Variant> args = {});

// A property put.
void put(IDispatch* object, const wchar_t* property, Variant value);

}  // namespace demo
