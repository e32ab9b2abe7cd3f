#include "com/Variant.h"

#include <oleauto.h>

#include <cstdint>
#include <limits>

#include "com/ComHandles.h"

namespace popupmenu::com {
namespace {

// The value a VARIANT holds: its own field, or what that field's VT_BYREF pointer refers to.
template <typename T>
T read(const VARIANT& v, const T& byValue, T* byReference) {
    return (v.vt & VT_BYREF) ? (byReference ? *byReference : T{}) : byValue;
}

Value fromUnsigned(std::uint64_t value) {
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return Value::real(static_cast<double>(value));
    return Value::integer(static_cast<std::int64_t>(value));
}

}  // namespace

Value valueOf(const VARIANT* variant) {
    if (variant == nullptr) return Value::missing();
    // A by-reference VARIANT refers to the VARIANT that holds the value. Automation allows one
    // such step; a client's chain of them (or one that refers to itself) is not followed further,
    // and the value counts as an object, which no argument accepts.
    if (variant->vt == (VT_BYREF | VT_VARIANT)) {
        variant = variant->pvarVal;
        if (variant == nullptr) return Value::missing();
        if (variant->vt == (VT_BYREF | VT_VARIANT)) return Value::object();
    }
    const VARIANT& v = *variant;
    if (v.vt & (VT_ARRAY | VT_VECTOR)) return Value::object();
    switch (v.vt & VT_TYPEMASK) {
    case VT_EMPTY: return Value::empty();
    case VT_NULL: return Value::null();
    case VT_ERROR: return Value::errorCode(read(v, v.scode, v.pscode));
    case VT_BOOL: return Value::boolean(read(v, v.boolVal, v.pboolVal) != VARIANT_FALSE);
    case VT_I1: return Value::integer(read(v, v.cVal, v.pcVal));
    case VT_UI1: return Value::integer(read(v, v.bVal, v.pbVal));
    case VT_I2: return Value::integer(read(v, v.iVal, v.piVal));
    case VT_UI2: return Value::integer(read(v, v.uiVal, v.puiVal));
    case VT_I4: return Value::integer(read(v, v.lVal, v.plVal));
    case VT_UI4: return Value::integer(read(v, v.ulVal, v.pulVal));
    case VT_INT: return Value::integer(read(v, v.intVal, v.pintVal));
    case VT_UINT: return Value::integer(read(v, v.uintVal, v.puintVal));
    case VT_I8: return Value::integer(read(v, v.llVal, v.pllVal));
    case VT_UI8: return fromUnsigned(read(v, v.ullVal, v.pullVal));
    case VT_R4: return Value::real(read(v, v.fltVal, v.pfltVal));
    case VT_R8: return Value::real(read(v, v.dblVal, v.pdblVal));
    case VT_DATE: return Value::date(read(v, v.date, v.pdate));
    case VT_CY: {
        double number = 0;
        VarR8FromCy(read(v, v.cyVal, v.pcyVal), &number);
        return Value::real(number);
    }
    case VT_DECIMAL: {
        // By value the DECIMAL fills the whole VARIANT (its first word is the type).
        DECIMAL decimal = (v.vt & VT_BYREF) ? (v.pdecVal ? *v.pdecVal : DECIMAL{}) : v.decVal;
        double number = 0;
        VarR8FromDec(&decimal, &number);
        return Value::real(number);
    }
    case VT_BSTR: return Value::string(fromBstr(read(v, v.bstrVal, v.pbstrVal)));
    default: return Value::object();  // VT_DISPATCH, VT_UNKNOWN, VT_RECORD and anything else
    }
}

}  // namespace popupmenu::com
