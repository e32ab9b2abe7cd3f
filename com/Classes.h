#pragma once
// The three creatable classes as registration, the class factories and error info name them.

#include <windows.h>
#include <oaidl.h>

#include <span>

#include "PopUpMenu_h.h"

namespace popupmenu::com {

struct ClassInfo {
    const CLSID& clsid;
    const IID& iid;         // the default (and only) interface
    const wchar_t* name;    // the class name in the type library
    const wchar_t* progId;  // PopUpMenu.<class name>
    // The methods without arguments and without effects, which IDispatch also lets a client read
    // as properties (see invokeDual).
    std::span<const DISPID> methodsReadAsProperties = {};
};

// The dispatch identifiers of the type library's methods MenuItems (the component's default
// member) and Count.
inline constexpr DISPID kMenuItemsMethod[] = {DISPID_VALUE};
inline constexpr DISPID kCountMethod[] = {0x60030003};

inline const ClassInfo kMenuItemClass{CLSID_MenuItem, IID__MenuItem, L"MenuItem", L"PopUpMenu.MenuItem"};
inline const ClassInfo kNuvraPopUpMenuClass{CLSID_NuvraPopUpMenu, IID__NuvraPopUpMenu, L"NuvraPopUpMenu",
                                            L"PopUpMenu.NuvraPopUpMenu", kMenuItemsMethod};
inline const ClassInfo kMenuItemsClass{CLSID_MenuItems, IID__MenuItems, L"MenuItems", L"PopUpMenu.MenuItems",
                                       kCountMethod};

inline const ClassInfo* const kClasses[] = {&kMenuItemClass, &kNuvraPopUpMenuClass, &kMenuItemsClass};

}  // namespace popupmenu::com
