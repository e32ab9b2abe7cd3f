// Automation values and the numeric test and conversions the collection applies to
// its arguments. The numeric grammar is the one documented in Value.h: blanks, an optional sign,
// digits with an optional "." decimal point, an optional exponent with digits, blanks.

#include "model/Value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <string>

namespace popupmenu {

Value Value::null() { return Value(Kind::Null); }

Value Value::missing() { return Value(Kind::Missing); }

Value Value::errorCode(std::int32_t code) {
    if (code == kDispParamNotFound) return missing();
    return Value(Kind::Error, code);
}

Value Value::boolean(bool value) { return Value(Kind::Boolean, value ? -1 : 0); }

Value Value::integer(std::int64_t value) { return Value(Kind::Integer, value); }

Value Value::real(double value) { return Value(Kind::Double, 0, value); }

Value Value::date(double value) { return Value(Kind::Date, 0, value); }

Value Value::string(std::u16string value) { return Value(Kind::String, 0, 0, std::move(value)); }

Value Value::object() { return Value(Kind::Object); }

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Where a number starts and ends in a text, and whether anything but blanks follows it.
struct NumberSpan {
    std::size_t begin = 0;  // the sign, or the first digit or '.'
    std::size_t end = 0;    // one past the last character of the number
    bool hasDigits = false;
};

// The longest prefix (after blanks) that forms a number of the grammar in Value.h.
NumberSpan scanNumber(std::u16string_view text) noexcept {
    NumberSpan span;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    span.begin = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return span;  // no number at all
    span.hasDigits = true;
    span.end = i;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            span.end = j;
        }
    }
    return span;
}

// The value of a text that scanNumber accepted. from_chars reads it independently of the
// locale; only the exponent's range needs help: out of the double range, the decimal order of
// magnitude (position of the first non-zero digit plus the exponent) tells infinity from zero.
double numberOfText(std::u16string_view number) noexcept {
    std::string ascii;
    try {
        ascii.reserve(number.size());
    } catch (...) {
        // No memory to read it: NaN, which every position and every conversion refuses.
        return std::numeric_limits<double>::quiet_NaN();
    }
    bool negative = false;
    std::size_t i = 0;
    if (i < number.size() && (number[i] == u'+' || number[i] == u'-')) negative = number[i++] == u'-';
    for (; i < number.size(); ++i) ascii.push_back(static_cast<char>(number[i]));

    double result = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), result);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Order of magnitude: digits before the point (from the first non-zero one), or minus the
        // zeros after the point before the first non-zero digit; then plus the exponent.
        long long order = 0;
        bool seenPoint = false, seenNonZero = false;
        std::size_t k = 0;
        for (; k < ascii.size() && ascii[k] != 'e' && ascii[k] != 'E'; ++k) {
            const char c = ascii[k];
            if (c == '.') {
                seenPoint = true;
            } else if (!seenNonZero) {
                if (c != '0') {
                    seenNonZero = true;
                    if (!seenPoint) ++order;
                } else if (seenPoint) {
                    --order;
                }
            } else if (!seenPoint) {
                ++order;
            }
        }
        long long exponent = 0;
        if (k < ascii.size()) {
            bool negativeExponent = false;
            ++k;
            if (k < ascii.size() && (ascii[k] == '+' || ascii[k] == '-')) negativeExponent = ascii[k++] == '-';
            for (; k < ascii.size(); ++k) {
                if (exponent < 1'000'000'000'000LL) exponent = exponent * 10 + (ascii[k] - '0');
            }
            if (negativeExponent) exponent = -exponent;
        }
        result = (seenNonZero && order + exponent > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -result : result;
}

}  // namespace

bool isNumericText(std::u16string_view text) noexcept {
    const NumberSpan span = scanNumber(text);
    if (!span.hasDigits) return false;
    for (std::size_t i = span.end; i < text.size(); ++i) {
        if (!isBlank(text[i])) return false;
    }
    return true;
}

bool isNumeric(const Value& value) noexcept {
    switch (value.kind()) {
    case Value::Kind::Boolean:
    case Value::Kind::Integer:
    case Value::Kind::Double: return true;
    case Value::Kind::String: return isNumericText(value.stringValue());
    default: return false;
    }
}

double leadingNumber(std::u16string_view text) noexcept {
    const NumberSpan span = scanNumber(text);
    if (!span.hasDigits) return 0;
    return numberOfText(text.substr(span.begin, span.end - span.begin));
}

double numberOf(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Boolean:
    case Value::Kind::Integer: return static_cast<double>(value.integerValue());
    case Value::Kind::Double: return value.realValue();
    case Value::Kind::String:
        if (isNumericText(value.stringValue())) return leadingNumber(value.stringValue());
        break;
    default: break;
    }
    throw makeError(error::TypeMismatch);
}

double roundHalfToEven(double number) noexcept {
    if (!std::isfinite(number)) return number;
    const double below = std::floor(number);
    const double fraction = number - below;  // exact for every finite double
    if (fraction > 0.5) return below + 1;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::int32_t toInt32(double number) {
    const double rounded = roundHalfToEven(number);
    // NaN fails both comparisons, so it is refused along with the infinities.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw makeError(error::Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::int32_t toInt32(const Value& value) {
    // Integers convert exactly: a 64-bit value need not pass through a double.
    if (value.kind() == Value::Kind::Integer || value.kind() == Value::Kind::Boolean) {
        const std::int64_t n = value.integerValue();
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max()) {
            throw makeError(error::Overflow);
        }
        return static_cast<std::int32_t>(n);
    }
    return toInt32(numberOf(value));
}

}  // namespace popupmenu
