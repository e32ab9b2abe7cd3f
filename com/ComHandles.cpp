#include "com/ComHandles.h"

#include <new>

namespace popupmenu::com {

Bstr::Bstr(std::u16string_view text)
    : UniqueValue(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {
    if (get() == nullptr) throw std::bad_alloc();
}

std::u16string fromBstr(BSTR s) {
    if (s == nullptr) return std::u16string();
    return std::u16string(reinterpret_cast<const char16_t*>(s), SysStringLen(s));
}

}  // namespace popupmenu::com
