#pragma once
// Registry values as registration writes and reads them: strings under a key path, in the
// process's own registry view or, with KEY_WOW64_32KEY or KEY_WOW64_64KEY, in the other one.

#include <windows.h>

#include <string>

namespace popupmenu::com {

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, as the registry spells class and library identifiers.
std::wstring guidText(REFGUID guid);

// Creates `path` under `parent` and sets its string value `name` (nullptr: the default value).
bool setString(HKEY parent, const std::wstring& path, const wchar_t* name, const std::wstring& value,
               REGSAM view = 0);

// The string value `name` (nullptr: the default value) of `path` under `parent`; "" when the key
// or the value does not exist.
std::wstring readString(HKEY parent, const std::wstring& path, const wchar_t* name = nullptr, REGSAM view = 0);

}  // namespace popupmenu::com
