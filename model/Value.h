#pragma once
// The automation values the collection takes as keys and optional arguments (what a VARIANT
// carries) and the conversions it applies to them; a conversion that fails throws an
// AutomationError.

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "model/AutomationError.h"

namespace popupmenu {

class Value {
public:
    enum class Kind { Empty, Null, Missing, Error, Boolean, Integer, Double, Date, String, Object };

    Value() = default;  // Empty
    static Value empty() { return Value(); }
    static Value null();
    static Value missing();  // an optional argument the caller left out
    // An error value. The code DISP_E_PARAMNOTFOUND (0x80020004) is how automation marks an
    // omitted optional argument, so that code gives missing().
    static Value errorCode(std::int32_t code);
    static Value boolean(bool value);
    static Value integer(std::int64_t value);
    static Value real(double value);
    static Value date(double value);
    static Value string(std::u16string value);
    static Value object();

    Kind kind() const noexcept { return kind_; }
    bool isMissing() const noexcept { return kind_ == Kind::Missing; }
    std::int64_t integerValue() const noexcept { return integer_; }  // Integer, Boolean (-1/0), Error
    double realValue() const noexcept { return real_; }              // Double, Date
    const std::u16string& stringValue() const noexcept { return string_; }

private:
    explicit Value(Kind kind, std::int64_t integer = 0, double real = 0, std::u16string string = {})
        : kind_(kind), integer_(integer), real_(real), string_(std::move(string)) {}

    Kind kind_ = Kind::Empty;
    std::int64_t integer_ = 0;
    double real_ = 0;
    std::u16string string_;
};

inline constexpr std::int32_t kDispParamNotFound = static_cast<std::int32_t>(0x80020004u);

// ---- The numeric test ----------------------------------------------------------------------
// True for the numeric kinds (Boolean, Integer, Double) and for a string that is a number in
// this grammar, and false for everything else (Empty, Null, Missing, Error, Date, Object):
//
//     numeric   = blanks [sign] mantissa [exponent] blanks
//     blanks    = { " " | TAB }
//     sign      = "+" | "-"
//     mantissa  = digits ["." [digits]] | "." digits      (at least one digit)
//     exponent  = ("e" | "E") [sign] digits
//     digits    = "0".."9" { "0".."9" }
//
// The decimal point is always "."; there are no thousands separators, currency signs,
// hexadecimal or octal forms, and the result does not depend on the process's locale. A number
// too large for a double ("1e999") passes the test; converting it then fails with an overflow.
bool isNumeric(const Value& value) noexcept;
bool isNumericText(std::u16string_view text) noexcept;

// The value of a numeric-kind value or numeric string as a double (Boolean true is -1).
// Anything the numeric test refuses fails with a type mismatch.
double numberOf(const Value& value);

// Reads a number from the start of `text` for as long as the characters form one (after
// leading blanks: sign, digits, decimal point, an exponent only when digits follow it) and
// ignores the rest; 0 when no digit starts it. " 12abc" is 12, "3.5e1x" is 35, "x1" is 0.
double leadingNumber(std::u16string_view text) noexcept;

// Rounds to the nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2), whatever rounding mode the floating-point unit is in.
double roundHalfToEven(double number) noexcept;

// Converts to a 32-bit signed integer: numeric kinds and numeric strings, rounded half to even;
// a result outside -2147483648..2147483647 (or not a number at all, NaN or infinite) fails with
// an overflow, a value the numeric test refuses with a type mismatch.
std::int32_t toInt32(const Value& value);
std::int32_t toInt32(double number);

}  // namespace popupmenu
