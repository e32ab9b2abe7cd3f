#pragma once
// The automation values the collection takes as keys and optional arguments (what a VARIANT
// carries), the failures it reports, and the conversions it applies to them.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace popupmenu {

// Conventional automation failure numbers.
namespace error {
inline constexpr std::int32_t InvalidArgument = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t DuplicateKey = 457;
}  // namespace error

// A failure with a number and a description, as the message boxes show it.
class AutomationError : public std::exception {
public:
    AutomationError(std::int32_t number, std::u16string description);
    std::int32_t number() const noexcept { return number_; }
    const std::u16string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return "automation error"; }

private:
    std::int32_t number_;
    std::u16string description_;
};

AutomationError makeError(std::int32_t number);  // with the library's standard description

class Value {
public:
    enum class Kind { Empty, Null, Missing, Error, Boolean, Integer, Double, Date, String, Object };

    Value() = default;  // Empty
    static Value empty() { return Value(); }
    static Value null();
    static Value missing();  // an optional argument the caller left out
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
    Kind kind_ = Kind::Empty;
    std::int64_t integer_ = 0;
    double real_ = 0;
    std::u16string string_;
};

}  // namespace popupmenu
