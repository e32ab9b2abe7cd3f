// The module's exported entry points (PopUpMenu.def gives their ordinals). None lets an
// exception out.

#include <windows.h>

#include "com/ClassFactory.h"
#include "com/Module.h"
#include "com/registration/Registration.h"
#include "com/TypeInfo.h"

using popupmenu::com::Scope;

extern "C" {

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    if (!popupmenu::com::moduleIsIdle()) return S_FALSE;
    // Nothing of the module is in use: let go of the type information before COM unloads it.
    popupmenu::com::releaseTypeInfo();
    return S_OK;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return popupmenu::com::getClassObject(clsid, iid, object);
}

HRESULT STDAPICALLTYPE DllRegisterServer() { return popupmenu::com::registerServer(Scope::Machine); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return popupmenu::com::unregisterServer(Scope::Machine); }

// regsvr32 /i:user (with /n: alone) registers for the current user, /u /i:user unregisters
// that; without a command line, or with "machine", it does what DllRegisterServer does.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
    Scope scope;
    if (commandLine == nullptr || *commandLine == L'\0' || _wcsicmp(commandLine, L"machine") == 0)
        scope = Scope::Machine;
    else if (_wcsicmp(commandLine, L"user") == 0)
        scope = Scope::User;
    else
        return E_INVALIDARG;
    return install ? popupmenu::com::registerServer(scope) : popupmenu::com::unregisterServer(scope);
}

}  // extern "C"
