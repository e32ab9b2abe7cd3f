#include "com/registration/RegistryValues.h"

#include <objbase.h>

#include "com/ComHandles.h"

namespace popupmenu::com {

std::wstring guidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

bool setString(HKEY parent, const std::wstring& path, const wchar_t* name, const std::wstring& value, REGSAM view) {
    RegKey key;
    if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

std::wstring readString(HKEY parent, const std::wstring& path, const wchar_t* name, REGSAM view) {
    RegKey key;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS)
        return std::wstring();
    // The size first, then the text; a value that grows in between is read again.
    for (;;) {
        DWORD bytes = 0;
        if (RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
            return std::wstring();
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::wstring();
        value.resize(wcsnlen(value.c_str(), value.size()));
        return value;
    }
}

}  // namespace popupmenu::com
