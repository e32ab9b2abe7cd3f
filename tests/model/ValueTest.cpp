// The numeric test, the conversions to integers and positions' numbers, and the failures'
// numbers and descriptions.

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <string>

#include "model/Value.h"
#include "tests/support/RecordingPlatform.h"

namespace popupmenu::testing {
namespace {

using namespace std::string_literals;

TEST(NumericTest, StringsFollowTheDocumentedGrammar) {
    struct Case {
        std::u16string text;
        bool numeric;
    };
    const Case cases[] = {
        {u"12", true},        {u" -1.5e3 ", true},  {u"1.", true},         {u".5", true},
        {u"+.5E-2", true},    {u"\t7\t", true},     {u"007", true},        {u"1e999", true},
        {u"-0", true},        {u"1e+5", true},      {u"", false},          {u"   ", false},
        {u"1e", false},       {u"1e+", false},      {u"abc", false},       {u"12a", false},
        {u"1 2", false},      {u"1,5", false},      {u"1.2.3", false},     {u"-", false},
        {u".", false},        {u"e5", false},       {u"+-1", false},       {u"&H10", false},
        {u"0x10", false},     {u"$5", false},       {u"1\u00A0", false},   {u"\uFF11\uFF12", false},
        {u"1\0"s, false},     {u"\n1", false},      {u"1d3", false},       {u"1e3.5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isNumeric(Value::string(c.text)), c.numeric) << '"' << toUtf8(c.text) << '"';
        EXPECT_EQ(isNumericText(c.text), c.numeric) << '"' << toUtf8(c.text) << '"';
    }
}

TEST(NumericTest, OnlyNumericKindsAndNumericStringsPass) {
    struct Case {
        const char* name;
        Value value;
        bool numeric;
    };
    const Case cases[] = {
        {"Boolean true", Value::boolean(true), true},  {"Boolean false", Value::boolean(false), true},
        {"Integer", Value::integer(-3), true},         {"Double", Value::real(2.5), true},
        {"Empty", Value::empty(), false},              {"Null", Value::null(), false},
        {"Missing", Value::missing(), false},          {"Error", Value::errorCode(5), false},
        {"Date", Value::date(45000.0), false},         {"Object", Value::object(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(isNumeric(c.value), c.numeric) << c.name;
}

TEST(ValueTest, TheOmittedArgumentErrorIsMissing) {
    EXPECT_TRUE(Value::errorCode(kDispParamNotFound).isMissing());
    const Value other = Value::errorCode(static_cast<std::int32_t>(0x80020005u));  // any other error code stays an error
    EXPECT_EQ(other.kind(), Value::Kind::Error);
    EXPECT_FALSE(other.isMissing());
}

std::optional<std::int32_t> convert(const Value& value, std::int32_t* failure) {
    try {
        return toInt32(value);
    } catch (const AutomationError& e) {
        *failure = e.number();
        return std::nullopt;
    }
}

TEST(ToInt32Test, RoundsHalfToEvenAndFailsOutsideTheRange) {
    struct Case {
        const char* name;
        Value value;
        std::optional<std::int32_t> result;
        std::int32_t failure = 0;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"2.5", Value::real(2.5), 2},
        {"3.5", Value::real(3.5), 4},
        {"-2.5", Value::real(-2.5), -2},
        {"-3.5", Value::real(-3.5), -4},
        {"0.5", Value::real(0.5), 0},
        {"1.5", Value::real(1.5), 2},
        {"2.4999", Value::real(2.4999), 2},
        {"2.5001", Value::real(2.5001), 3},
        {"2147483647.4", Value::real(2147483647.4), 2147483647},
        {"-2147483648.5", Value::real(-2147483648.5), std::numeric_limits<std::int32_t>::min()},
        {"2147483647.5", Value::real(2147483647.5), std::nullopt, error::Overflow},
        {"-2147483649", Value::real(-2147483649.0), std::nullopt, error::Overflow},
        {"1e300", Value::real(1e300), std::nullopt, error::Overflow},
        {"infinity", Value::real(infinity), std::nullopt, error::Overflow},
        {"NaN", Value::real(nan), std::nullopt, error::Overflow},
        {"integer 2147483647", Value::integer(2147483647), 2147483647},
        {"integer 2^31", Value::integer(2147483648LL), std::nullopt, error::Overflow},
        {"integer -2^40", Value::integer(-(1LL << 40)), std::nullopt, error::Overflow},
        {"Boolean true", Value::boolean(true), -1},
        {"Boolean false", Value::boolean(false), 0},
        {"\"2.5\"", Value::string(u"2.5"), 2},
        {"\" 3.5 \"", Value::string(u" 3.5 "), 4},
        {"\"1e3\"", Value::string(u"1e3"), 1000},
        {"\"-7\"", Value::string(u"-7"), -7},
        {"\"1e10\"", Value::string(u"1e10"), std::nullopt, error::Overflow},
        {"\"1e999\"", Value::string(u"1e999"), std::nullopt, error::Overflow},
        {"\"-1e999\"", Value::string(u"-1e999"), std::nullopt, error::Overflow},
        {"\"1e-999\"", Value::string(u"1e-999"), 0},
        {"\"abc\"", Value::string(u"abc"), std::nullopt, error::TypeMismatch},
        {"\"\"", Value::string(u""), std::nullopt, error::TypeMismatch},
        {"Empty", Value::empty(), std::nullopt, error::TypeMismatch},
        {"Null", Value::null(), std::nullopt, error::TypeMismatch},
        {"Date", Value::date(2.0), std::nullopt, error::TypeMismatch},
        {"Object", Value::object(), std::nullopt, error::TypeMismatch},
    };
    for (const auto& c : cases) {
        std::int32_t failure = 0;
        EXPECT_EQ(convert(c.value, &failure), c.result) << c.name;
        EXPECT_EQ(failure, c.failure) << c.name;
    }
}

TEST(ToInt32Test, RoundingDoesNotDependOnTheFloatingPointMode) {
    const int previous = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        EXPECT_EQ(toInt32(2.5), 2) << "mode " << mode;
        EXPECT_EQ(toInt32(3.5), 4) << "mode " << mode;
        EXPECT_EQ(toInt32(-2.5), -2) << "mode " << mode;
        EXPECT_EQ(toInt32(2.6), 3) << "mode " << mode;
    }
    std::fesetround(previous);
}

TEST(LeadingNumberTest, ReadsAsFarAsTheTextFormsANumber) {
    struct Case {
        std::u16string text;
        double number;
    };
    const Case cases[] = {
        {u" 12abc", 12},   {u"3.5e1x", 35},   {u"x1", 0},      {u"", 0},        {u"1e", 1},
        {u"1e+x", 1},      {u"-.5", -0.5},    {u"00012", 12},  {u"+4 5", 4},    {u"2.", 2},
        {u"\t-3E2", -300}, {u"1e-400", 0},    {u"0e9999", 0},  {std::u16string(u"1\0005", 3), 1}, {u"-", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.text), c.number) << '"' << toUtf8(c.text) << '"';
    EXPECT_EQ(leadingNumber(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u"-123.4e99999999999999999999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u"0.0000001e-400"), 0.0);
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(400, u'0')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u"0." + std::u16string(400, u'0') + u"1e401"), 1.0);
}

TEST(FailureTest, NumbersCarryClearDescriptions) {
    struct Case {
        std::int32_t number;
        std::u16string description;
    };
    const Case cases[] = {
        {5, u"Invalid procedure call or argument"},
        {6, u"Overflow"},
        {7, u"Out of memory"},
        {9, u"Subscript out of range"},
        {13, u"Type mismatch"},
        {457, u"This key is already associated with an element of this collection"},
        {1234, u"Application-defined or object-defined error"},
    };
    for (const auto& c : cases) {
        const AutomationError e = makeError(c.number);
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(toUtf8(e.description()), toUtf8(c.description)) << c.number;
    }
}

TEST(FailureTest, EveryExceptionBecomesAFailureWithADescription) {
    const auto failureFrom = [](auto thrown) { return failureOf(std::make_exception_ptr(thrown)); };
    const AutomationError own = failureFrom(AutomationError(42, u"own text"));
    EXPECT_EQ(own.number(), 42);
    EXPECT_EQ(toUtf8(own.description()), "own text");
    EXPECT_EQ(failureFrom(std::bad_alloc()).number(), error::OutOfMemory);
    EXPECT_EQ(failureFrom(std::length_error("too long")).number(), error::OutOfMemory);
    EXPECT_EQ(failureFrom(17).number(), error::InvalidArgument);
}

}  // namespace
}  // namespace popupmenu::testing
