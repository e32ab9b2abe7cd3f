#include "com/registration/OtherBuild.h"

#include "com/registration/RegistryValues.h"

namespace popupmenu::com {
namespace {

const std::wstring kClassesKey = L"Software\\Classes\\";

std::wstring typeLibraryPathKey() { return kClassesKey + L"TypeLib\\" + guidText(LIBID_PopUpMenu) + L"\\1.0\\0\\win32"; }

}  // namespace

std::optional<OtherBuild> OtherBuild::of(HKEY root) noexcept {
    if constexpr (sizeof(void*) == 8) {
        return OtherBuild(root, KEY_WOW64_32KEY);
    } else {
        BOOL underWow64 = FALSE;
        if (IsWow64Process(GetCurrentProcess(), &underWow64) && underWow64) return OtherBuild(root, KEY_WOW64_64KEY);
        return std::nullopt;
    }
}

std::wstring OtherBuild::registeredModule(const std::wstring& thisModule) const {
    const std::wstring module =
        readString(root_, kClassesKey + L"CLSID\\" + guidText(CLSID_NuvraPopUpMenu) + L"\\InprocServer32", nullptr, view_);
    if (_wcsicmp(module.c_str(), thisModule.c_str()) == 0) return std::wstring();
    return module;
}

bool OtherBuild::pointTypeLibraryAt(const std::wstring& module) const {
    const std::wstring key = typeLibraryPathKey();
    if (readString(root_, key, nullptr, view_).empty()) return true;  // not registered: nothing to point
    return setString(root_, key, nullptr, module, view_);
}

bool OtherBuild::restoreProgId(const ClassInfo& info) const {
    const std::wstring progIdKey = kClassesKey + info.progId;
    if (!readString(root_, progIdKey + L"\\CLSID", nullptr, view_).empty()) return true;
    return setString(root_, progIdKey, nullptr, info.progId, view_) &&
           setString(root_, progIdKey + L"\\CLSID", nullptr, guidText(info.clsid), view_);
}

}  // namespace popupmenu::com
