// The two conversions at the boundary, tested in-process against the module's own code: VARIANTs
// as the collection reads them, and failures as the error HRESULT and error info clients read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "com/Failure.h"
#include "com/Variant.h"

namespace popupmenu::comtest {
namespace {

using com::valueOf;

struct ValueCase {
    const char* what;
    VARIANT variant;
    Value::Kind kind;
    std::int64_t integer;  // for Integer, Boolean and Error
    double real;           // for Double and Date
};

TEST(VariantTest, EveryAutomationTypeByValueAndByReference) {
    VARIANT_BOOL yes = VARIANT_TRUE;
    SCODE notFound = DISP_E_PARAMNOTFOUND;
    DATE date = 45000.5;
    UINT unsignedInt = 7;
    ULONGLONG huge = 0xFFFFFFFFFFFFFFFFull;
    VARIANT empty;
    VariantInit(&empty);

    auto make = [](VARTYPE vt, auto assign) {
        VARIANT v;
        VariantInit(&v);
        v.vt = vt;
        assign(v);
        return v;
    };
    const ValueCase cases[] = {
        {"VT_EMPTY", make(VT_EMPTY, [](VARIANT&) {}), Value::Kind::Empty, 0, 0},
        {"VT_NULL", make(VT_NULL, [](VARIANT&) {}), Value::Kind::Null, 0, 0},
        {"VT_ERROR DISP_E_PARAMNOTFOUND", make(VT_ERROR, [](VARIANT& v) { v.scode = DISP_E_PARAMNOTFOUND; }),
         Value::Kind::Missing, 0, 0},
        {"VT_BYREF|VT_ERROR DISP_E_PARAMNOTFOUND", make(VT_BYREF | VT_ERROR, [&](VARIANT& v) { v.pscode = &notFound; }),
         Value::Kind::Missing, 0, 0},
        {"VT_ERROR E_FAIL", make(VT_ERROR, [](VARIANT& v) { v.scode = E_FAIL; }), Value::Kind::Error,
         static_cast<std::int32_t>(E_FAIL), 0},
        {"VT_BOOL true", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), Value::Kind::Boolean, -1, 0},
        {"VT_BYREF|VT_BOOL true", make(VT_BYREF | VT_BOOL, [&](VARIANT& v) { v.pboolVal = &yes; }),
         Value::Kind::Boolean, -1, 0},
        {"VT_I1 -3", make(VT_I1, [](VARIANT& v) { v.cVal = -3; }), Value::Kind::Integer, -3, 0},
        {"VT_UI2 65535", make(VT_UI2, [](VARIANT& v) { v.uiVal = 65535; }), Value::Kind::Integer, 65535, 0},
        {"VT_UI4 4294967295", make(VT_UI4, [](VARIANT& v) { v.ulVal = 0xFFFFFFFFu; }), Value::Kind::Integer,
         4294967295LL, 0},
        {"VT_BYREF|VT_UINT 7", make(VT_BYREF | VT_UINT, [&](VARIANT& v) { v.puintVal = &unsignedInt; }),
         Value::Kind::Integer, 7, 0},
        {"VT_UI8 beyond int64", make(VT_BYREF | VT_UI8, [&](VARIANT& v) { v.pullVal = &huge; }), Value::Kind::Double,
         0, 18446744073709551615.0},
        {"VT_DATE", make(VT_DATE, [](VARIANT& v) { v.date = 45000.5; }), Value::Kind::Date, 0, 45000.5},
        {"VT_BYREF|VT_DATE", make(VT_BYREF | VT_DATE, [&](VARIANT& v) { v.pdate = &date; }), Value::Kind::Date, 0,
         45000.5},
        {"VT_CY 1.5", make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 15000; }), Value::Kind::Double, 0, 1.5},
        {"VT_DISPATCH", make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), Value::Kind::Object, 0, 0},
        {"VT_ARRAY|VT_I4", make(VT_ARRAY | VT_I4, [](VARIANT& v) { v.parray = nullptr; }), Value::Kind::Object, 0, 0},
        {"VT_BYREF|VT_VARIANT -> VT_EMPTY", make(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &empty; }),
         Value::Kind::Empty, 0, 0},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Value value = valueOf(&c.variant);
        EXPECT_EQ(value.kind(), c.kind);
        if (c.kind == Value::Kind::Integer || c.kind == Value::Kind::Boolean || c.kind == Value::Kind::Error) {
            EXPECT_EQ(value.integerValue(), c.integer);
        }
        if (c.kind == Value::Kind::Double || c.kind == Value::Kind::Date) {
            EXPECT_DOUBLE_EQ(value.realValue(), c.real);
        }
    }
    EXPECT_TRUE(valueOf(nullptr).isMissing()) << "no VARIANT at all for an optional argument";
}

// Automation allows one step of VT_BYREF|VT_VARIANT. A client's VARIANT that refers to itself, or
// a chain of such references, must give a defined value instead of exhausting the stack.
TEST(VariantTest, AByReferenceChainIsFollowedOneStepOnly) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_BYREF | VT_VARIANT;
    self.pvarVal = &self;
    EXPECT_EQ(valueOf(&self).kind(), Value::Kind::Object);

    VARIANT number, toNumber, toReference;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 7;
    VariantInit(&toNumber);
    toNumber.vt = VT_BYREF | VT_VARIANT;
    toNumber.pvarVal = &number;
    VariantInit(&toReference);
    toReference.vt = VT_BYREF | VT_VARIANT;
    toReference.pvarVal = &toNumber;
    EXPECT_EQ(valueOf(&toNumber).integerValue(), 7);
    EXPECT_EQ(valueOf(&toReference).kind(), Value::Kind::Object);

    VARIANT toNothing;
    VariantInit(&toNothing);
    toNothing.vt = VT_BYREF | VT_VARIANT;
    toNothing.pvarVal = nullptr;
    EXPECT_TRUE(valueOf(&toNothing).isMissing());
}

TEST(VariantTest, StringsKeepEveryCodeUnit) {
    Variant v;
    v->vt = VT_BSTR;
    const wchar_t units[] = {L'a', 0, 0x00E8, 0xD83D, 0xDE00};  // an embedded zero, a surrogate pair
    v->bstrVal = SysAllocStringLen(units, 5);
    const Value value = valueOf(v.get());
    ASSERT_EQ(value.kind(), Value::Kind::String);
    EXPECT_EQ(value.stringValue(), (std::u16string{u'a', 0, 0x00E8, 0xD83D, 0xDE00}));

    VARIANT nullString;
    VariantInit(&nullString);
    nullString.vt = VT_BSTR;
    nullString.bstrVal = nullptr;  // automation's empty string
    EXPECT_EQ(valueOf(&nullString).kind(), Value::Kind::String);
    EXPECT_EQ(valueOf(&nullString).stringValue(), u"");
}

TEST(FailureTest, AFailureBecomesAnErrorHresultWithErrorInfo) {
    struct Case {
        const char* what;
        std::exception_ptr failure;
        HRESULT expected;
        const wchar_t* description;  // nullptr: any non-empty text
    };
    const Case cases[] = {
        {"automation failure", std::make_exception_ptr(AutomationError(457, u"Key already there")),
         static_cast<HRESULT>(0x800A01C9), L"Key already there"},
        {"out of memory", std::make_exception_ptr(std::bad_alloc()), E_OUTOFMEMORY, L"Out of memory"},
        {"null pointer", std::make_exception_ptr(com::ComError(E_POINTER)), E_POINTER, nullptr},
        {"anything else", std::make_exception_ptr(std::runtime_error("?")), static_cast<HRESULT>(0x800A0005),
         L"Invalid procedure call or argument"},
    };
    Apartment apartment;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetErrorInfo(0, nullptr);
        const HRESULT hr = com::guarded(com::kMenuItemsClass, [&] { std::rethrow_exception(c.failure); });
        EXPECT_EQ(hr, c.expected);
        const std::optional<ErrorInfoRecord> info = takeErrorInfo();
        ASSERT_TRUE(info) << "the failure left no error info";
        EXPECT_EQ(info->source, L"PopUpMenu.MenuItems");
        EXPECT_TRUE(IsEqualGUID(info->guid, IID__MenuItems));
        if (c.description) {
            EXPECT_EQ(info->description, c.description);
        } else {
            EXPECT_FALSE(info->description.empty());
        }
    }
    EXPECT_EQ(com::guarded(com::kMenuItemsClass, [] {}), S_OK);
}

}  // namespace
}  // namespace popupmenu::comtest
