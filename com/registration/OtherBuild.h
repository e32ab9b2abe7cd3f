#pragma once
// The registration of this library's build of the other bitness, side by side with this one.
//
// On 64-bit Windows the 32-bit and the 64-bit registry views keep their own CLSID and Interface
// keys, so each build registers its own module for the same classes; but other keys under
// Software\Classes are one key seen from both views: the type libraries, and on Windows 7 and
// later the ProgIDs. (Measured under Wine 8: in HKEY_LOCAL_MACHINE, CLSID, Interface and the
// ProgIDs are per view and TypeLib is shared; HKEY_CURRENT_USER's classes are one view for both.)
// Registering or unregistering one build must leave those shared keys as the other build needs
// them; this class reads and repairs them through the other build's view.

#include <windows.h>

#include <optional>
#include <string>

#include "com/Classes.h"

namespace popupmenu::com {

class OtherBuild {
public:
    // The other bitness's view of `root`'s classes; none where there is no other view (32-bit
    // Windows).
    static std::optional<OtherBuild> of(HKEY root) noexcept;

    // The module the other build registered for the library's classes, or "" when it has none
    // registered. A registry with a single view shows this module's own registration there: that
    // is not another build, and "" is returned too.
    std::wstring registeredModule(const std::wstring& thisModule) const;

    // Makes the type library's path (TypeLib\{LIBID}\1.0\0\win32, a shared key) name `module`,
    // where the type library is registered. False when the value could not be written.
    bool pointTypeLibraryAt(const std::wstring& module) const;

    // Writes a class's ProgID again where the other view no longer finds it (unregistering this
    // build deleted a shared ProgID). False when it could not be written.
    bool restoreProgId(const ClassInfo& info) const;

private:
    OtherBuild(HKEY root, REGSAM view) : root_(root), view_(view) {}
    HKEY root_;
    REGSAM view_;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY
};

}  // namespace popupmenu::com
