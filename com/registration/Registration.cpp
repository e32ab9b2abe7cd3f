#include "com/registration/Registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <optional>
#include <string>

#include "com/Classes.h"
#include "com/ComHandles.h"
#include "com/Module.h"
#include "com/registration/OtherBuild.h"
#include "com/registration/RegistryValues.h"
#include "com/TypeInfo.h"

// oleaut32 exports these (since Windows Vista); the mingw-w64 headers do not declare them.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpDirectory);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD majorVersion, WORD minorVersion, LCID locale,
                                        SYSKIND systemKind);
}

namespace popupmenu::com {
namespace {

constexpr WORD kMajorVersion = 1;
constexpr WORD kMinorVersion = 0;
constexpr LCID kLocale = 0;
// The type library is the same SYS_WIN32 library in every build of the module.
constexpr SYSKIND kSystemKind = SYS_WIN32;

HKEY rootOf(Scope scope) { return scope == Scope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool deleteTree(HKEY parent, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(parent, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool registerClass(HKEY classes, const ClassInfo& info, const std::wstring& serverPath) {
    const std::wstring clsidKey = L"CLSID\\" + guidText(info.clsid);
    const std::wstring progIdKey = info.progId;
    return setString(classes, clsidKey, nullptr, info.progId) &&
           setString(classes, clsidKey + L"\\InprocServer32", nullptr, serverPath) &&
           setString(classes, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
           setString(classes, clsidKey + L"\\ProgID", nullptr, info.progId) &&
           setString(classes, clsidKey + L"\\TypeLib", nullptr, guidText(LIBID_PopUpMenu)) &&
           setString(classes, clsidKey + L"\\VERSION", nullptr, L"1.0") &&
           setString(classes, progIdKey, nullptr, info.progId) &&
           setString(classes, progIdKey + L"\\CLSID", nullptr, guidText(info.clsid));
}

bool unregisterClass(HKEY classes, const ClassInfo& info) {
    const std::wstring clsid = guidText(info.clsid);
    bool removed = deleteTree(classes, L"CLSID\\" + clsid);
    // A ProgID that now names another class belongs to someone else: it stays.
    const std::wstring progIdTarget = readString(classes, std::wstring(info.progId) + L"\\CLSID");
    if (progIdTarget.empty() || _wcsicmp(progIdTarget.c_str(), clsid.c_str()) == 0)
        removed = deleteTree(classes, info.progId) && removed;
    return removed;
}

// While it lives, HKEY_CLASSES_ROOT stands for the current user's classes. The system's type
// library registration writes under HKEY_CLASSES_ROOT; where RegisterTypeLibForUser falls back to
// it (as Wine's does), this keeps a per-user registration out of the machine's keys.
class UserClassesRoot {
public:
    explicit UserClassesRoot(HKEY userClasses)
        : active_(userClasses && RegOverridePredefKey(HKEY_CLASSES_ROOT, userClasses) == ERROR_SUCCESS) {}
    UserClassesRoot(const UserClassesRoot&) = delete;
    UserClassesRoot& operator=(const UserClassesRoot&) = delete;
    ~UserClassesRoot() {
        if (active_) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    }
    bool active() const { return active_; }

private:
    bool active_;
};

HRESULT registerTypeLibrary(Scope scope, HKEY classes, const std::wstring& serverPath) {
    ComPtr<ITypeLib> library;
    HRESULT hr = loadTypeLibrary(library.put());
    if (FAILED(hr)) return hr;
    auto* path = const_cast<wchar_t*>(serverPath.c_str());
    if (scope == Scope::Machine) return RegisterTypeLib(library.get(), path, nullptr);
    UserClassesRoot userRoot(classes);
    if (!userRoot.active()) return E_FAIL;
    return RegisterTypeLibForUser(library.get(), path, nullptr);
}

bool typeLibraryIsRegistered(HKEY classes) {
    RegKey version;
    const std::wstring path = L"TypeLib\\" + guidText(LIBID_PopUpMenu) + L"\\1.0";
    return RegOpenKeyExW(classes, path.c_str(), 0, KEY_READ, version.put()) == ERROR_SUCCESS;
}

HRESULT unregisterTypeLibrary(Scope scope, HKEY classes) {
    if (!typeLibraryIsRegistered(classes)) return S_OK;
    if (scope == Scope::Machine)
        return UnRegisterTypeLib(LIBID_PopUpMenu, kMajorVersion, kMinorVersion, kLocale, kSystemKind);
    UserClassesRoot userRoot(classes);
    if (!userRoot.active()) return E_FAIL;
    return UnRegisterTypeLibForUser(LIBID_PopUpMenu, kMajorVersion, kMinorVersion, kLocale, kSystemKind);
}

}  // namespace

LSTATUS openClassesKey(HKEY root, bool create, HKEY* classes) noexcept {
    if (create)
        return RegCreateKeyExW(root, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, classes, nullptr);
    return RegOpenKeyExW(root, L"Software\\Classes", 0, KEY_ALL_ACCESS, classes);
}

HRESULT registerServer(Scope scope) noexcept {
    try {
        const std::wstring serverPath = modulePath();
        RegKey classes;
        const LSTATUS opened = openClassesKey(rootOf(scope), true, classes.put());
        if (serverPath.empty() || opened != ERROR_SUCCESS) return SELFREG_E_CLASS;
        if (FAILED(registerTypeLibrary(scope, classes.get(), serverPath))) {
            unregisterServer(scope);
            return SELFREG_E_TYPELIB;
        }
        for (const ClassInfo* info : kClasses) {
            if (!registerClass(classes.get(), *info, serverPath)) {
                unregisterServer(scope);  // leave no half registration behind
                return SELFREG_E_CLASS;
            }
        }
        // Registering the type library wrote this module as its path, in a key both views share.
        // Where the 32-bit build is registered too, the path names it again: a 32-bit client then
        // loads the library from a module of its own kind, and 64-bit oleaut32, which falls back
        // to that path, loads the same library from either module (measured under Wine).
        if constexpr (sizeof(void*) == 8) {
            const std::optional<OtherBuild> other = OtherBuild::of(rootOf(scope));
            const std::wstring otherModule = other ? other->registeredModule(serverPath) : std::wstring();
            if (!otherModule.empty() && !other->pointTypeLibraryAt(otherModule)) {
                unregisterServer(scope);
                return SELFREG_E_TYPELIB;
            }
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT unregisterServer(Scope scope, OpenClassesKey openClasses) noexcept {
    try {
        RegKey classes;
        const LSTATUS opened = openClasses(rootOf(scope), false, classes.put());
        if (opened == ERROR_FILE_NOT_FOUND) return S_OK;  // nothing was ever registered there
        if (opened != ERROR_SUCCESS) return SELFREG_E_CLASS;
        bool classesRemoved = true;
        for (const ClassInfo* info : kClasses) classesRemoved = unregisterClass(classes.get(), *info) && classesRemoved;
        // The other build, still registered in the other view, keeps what both views share: its
        // ProgIDs (one key for both views on Windows) and the type library, whose interfaces
        // oleaut32 registers in both views; the library's path then names the other module.
        const std::optional<OtherBuild> other = OtherBuild::of(rootOf(scope));
        const std::wstring otherModule = other ? other->registeredModule(modulePath()) : std::wstring();
        if (!otherModule.empty()) {
            for (const ClassInfo* info : kClasses) classesRemoved = other->restoreProgId(*info) && classesRemoved;
            if (!other->pointTypeLibraryAt(otherModule)) return SELFREG_E_TYPELIB;
            return classesRemoved ? S_OK : SELFREG_E_CLASS;
        }
        const HRESULT typeLibrary = unregisterTypeLibrary(scope, classes.get());
        if (FAILED(typeLibrary)) return SELFREG_E_TYPELIB;
        return classesRemoved ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace popupmenu::com
