#pragma once
// The Win32 constants the portable core passes through Platform, with the values Windows gives
// them, in namespace `win`. The Windows headers define the same names as macros; the declarations
// are shielded from them, so this header can be included before or after <windows.h>. (Code that
// sees <windows.h> uses the macros.)

#include <cstdint>

#pragma push_macro("MF_GRAYED")
#undef MF_GRAYED
#pragma push_macro("MF_DISABLED")
#undef MF_DISABLED
#pragma push_macro("MF_CHECKED")
#undef MF_CHECKED
#pragma push_macro("MF_POPUP")
#undef MF_POPUP
#pragma push_macro("MF_OWNERDRAW")
#undef MF_OWNERDRAW
#pragma push_macro("MF_BYPOSITION")
#undef MF_BYPOSITION
#pragma push_macro("MF_SEPARATOR")
#undef MF_SEPARATOR
#pragma push_macro("TPM_RIGHTBUTTON")
#undef TPM_RIGHTBUTTON
#pragma push_macro("TPM_RETURNCMD")
#undef TPM_RETURNCMD
#pragma push_macro("WM_NULL")
#undef WM_NULL
#pragma push_macro("WM_DRAWITEM")
#undef WM_DRAWITEM
#pragma push_macro("WM_MEASUREITEM")
#undef WM_MEASUREITEM
#pragma push_macro("WM_MENUCHAR")
#undef WM_MENUCHAR
#pragma push_macro("WM_SETTINGCHANGE")
#undef WM_SETTINGCHANGE
#pragma push_macro("WM_DPICHANGED")
#undef WM_DPICHANGED
#pragma push_macro("WM_INITMENUPOPUP")
#undef WM_INITMENUPOPUP
#pragma push_macro("MNC_IGNORE")
#undef MNC_IGNORE
#pragma push_macro("MNC_EXECUTE")
#undef MNC_EXECUTE
#pragma push_macro("MNC_SELECT")
#undef MNC_SELECT
#pragma push_macro("MFT_SEPARATOR")
#undef MFT_SEPARATOR
#pragma push_macro("MFS_GRAYED")
#undef MFS_GRAYED
#pragma push_macro("MFS_HILITE")
#undef MFS_HILITE
#pragma push_macro("ODT_MENU")
#undef ODT_MENU
#pragma push_macro("ODS_SELECTED")
#undef ODS_SELECTED
#pragma push_macro("ODS_GRAYED")
#undef ODS_GRAYED
#pragma push_macro("ODS_DISABLED")
#undef ODS_DISABLED
#pragma push_macro("ODS_CHECKED")
#undef ODS_CHECKED
#pragma push_macro("ODS_NOACCEL")
#undef ODS_NOACCEL
#pragma push_macro("COLOR_MENU")
#undef COLOR_MENU
#pragma push_macro("COLOR_MENUTEXT")
#undef COLOR_MENUTEXT
#pragma push_macro("COLOR_HIGHLIGHT")
#undef COLOR_HIGHLIGHT
#pragma push_macro("COLOR_HIGHLIGHTTEXT")
#undef COLOR_HIGHLIGHTTEXT
#pragma push_macro("COLOR_GRAYTEXT")
#undef COLOR_GRAYTEXT
#pragma push_macro("SRCCOPY")
#undef SRCCOPY
#pragma push_macro("SRCPAINT")
#undef SRCPAINT
#pragma push_macro("SRCAND")
#undef SRCAND
#pragma push_macro("NOTSRCCOPY")
#undef NOTSRCCOPY
#pragma push_macro("DT_CALCRECT")
#undef DT_CALCRECT
#pragma push_macro("TRANSPARENT")
#undef TRANSPARENT
#pragma push_macro("PS_SOLID")
#undef PS_SOLID
#pragma push_macro("ILD_TRANSPARENT")
#undef ILD_TRANSPARENT
#pragma push_macro("BDR_RAISEDINNER")
#undef BDR_RAISEDINNER
#pragma push_macro("BF_RECT")
#undef BF_RECT
#pragma push_macro("DST_BITMAP")
#undef DST_BITMAP
#pragma push_macro("DSS_DISABLED")
#undef DSS_DISABLED
#pragma push_macro("SPI_GETNONCLIENTMETRICS")
#undef SPI_GETNONCLIENTMETRICS
#pragma push_macro("DT_HIDEPREFIX")
#undef DT_HIDEPREFIX
#pragma push_macro("MSAA_MENU_SIG")
#undef MSAA_MENU_SIG
#pragma push_macro("SPI_GETHIGHCONTRAST")
#undef SPI_GETHIGHCONTRAST
// The constants, with the values Windows gives them.
namespace popupmenu::win {
inline constexpr std::uint32_t MB_ICONWARNING_OK = 0x30, MB_ICONINFORMATION_OK = 0x40;
inline constexpr std::uint32_t MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
                               MF_OWNERDRAW = 0x100, MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800;
inline constexpr std::uint32_t TPM_RIGHTBUTTON = 0x2, TPM_RETURNCMD = 0x100;
inline constexpr std::uint32_t WM_NULL = 0x0, WM_DRAWITEM = 0x2B, WM_MEASUREITEM = 0x2C, WM_MENUCHAR = 0x120;
// A system setting (the menu font among them) or a window's DPI changed.
inline constexpr std::uint32_t WM_SETTINGCHANGE = 0x1A, WM_DPICHANGED = 0x2E0;
// A menu is about to open; wParam is its handle.
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x117;
// WM_MENUCHAR answers, in the high word of the result; the low word holds an item position.
inline constexpr std::uint32_t MNC_IGNORE = 0, MNC_EXECUTE = 2, MNC_SELECT = 3;
// A native menu item's type and state, as GetMenuItemInfo reports them. MFS_GRAYED covers both
// the grayed and the disabled flag of AppendMenu.
inline constexpr std::uint32_t MFT_SEPARATOR = 0x800, MFS_GRAYED = 0x3, MFS_HILITE = 0x80;
inline constexpr std::uint32_t ODT_MENU = 1;
inline constexpr std::uint32_t ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8,
                               ODS_NOACCEL = 0x100;
inline constexpr int COLOR_MENU = 4, COLOR_MENUTEXT = 7, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14,
                     COLOR_GRAYTEXT = 17;
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                               NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t DT_CALCRECT = 0x400, DT_HIDEPREFIX = 0x00100000;
inline constexpr int TRANSPARENT = 1, PS_SOLID = 0;
inline constexpr std::uint32_t ILD_TRANSPARENT = 1;
inline constexpr std::uint32_t BDR_RAISEDINNER = 4, BF_RECT = 15;
inline constexpr std::uint32_t DST_BITMAP = 0x4, DSS_DISABLED = 0x20;
inline constexpr std::uint32_t SPI_GETNONCLIENTMETRICS = 41, SPI_GETHIGHCONTRAST = 0x42;
// A thread's DPI awareness (GetAwarenessFromDpiAwarenessContext; INVALID also where the platform
// has no such notion) and the two per-monitor awareness contexts SetThreadDpiAwarenessContext takes.
inline constexpr int AWARENESS_INVALID = -1, AWARENESS_UNAWARE = 0, AWARENESS_SYSTEM_AWARE = 1,
                     AWARENESS_PER_MONITOR_AWARE = 2;
inline constexpr std::intptr_t PER_MONITOR_AWARE_CONTEXT = -3, PER_MONITOR_AWARE_V2_CONTEXT = -4;
// The signature that opens the accessibility header of an owner-drawn menu item's data.
inline constexpr std::uint32_t MSAA_MENU_SIG = 0xAA0DF00D;
}  // namespace popupmenu::win
#pragma pop_macro("MF_GRAYED")
#pragma pop_macro("MF_DISABLED")
#pragma pop_macro("MF_CHECKED")
#pragma pop_macro("MF_POPUP")
#pragma pop_macro("MF_OWNERDRAW")
#pragma pop_macro("MF_BYPOSITION")
#pragma pop_macro("MF_SEPARATOR")
#pragma pop_macro("TPM_RIGHTBUTTON")
#pragma pop_macro("TPM_RETURNCMD")
#pragma pop_macro("WM_NULL")
#pragma pop_macro("WM_DRAWITEM")
#pragma pop_macro("WM_MEASUREITEM")
#pragma pop_macro("WM_MENUCHAR")
#pragma pop_macro("WM_SETTINGCHANGE")
#pragma pop_macro("WM_DPICHANGED")
#pragma pop_macro("WM_INITMENUPOPUP")
#pragma pop_macro("MNC_IGNORE")
#pragma pop_macro("MNC_EXECUTE")
#pragma pop_macro("MNC_SELECT")
#pragma pop_macro("MFT_SEPARATOR")
#pragma pop_macro("MFS_GRAYED")
#pragma pop_macro("MFS_HILITE")
#pragma pop_macro("ODT_MENU")
#pragma pop_macro("ODS_SELECTED")
#pragma pop_macro("ODS_GRAYED")
#pragma pop_macro("ODS_DISABLED")
#pragma pop_macro("ODS_CHECKED")
#pragma pop_macro("ODS_NOACCEL")
#pragma pop_macro("COLOR_MENU")
#pragma pop_macro("COLOR_MENUTEXT")
#pragma pop_macro("COLOR_HIGHLIGHT")
#pragma pop_macro("COLOR_HIGHLIGHTTEXT")
#pragma pop_macro("COLOR_GRAYTEXT")
#pragma pop_macro("SRCCOPY")
#pragma pop_macro("SRCPAINT")
#pragma pop_macro("SRCAND")
#pragma pop_macro("NOTSRCCOPY")
#pragma pop_macro("DT_CALCRECT")
#pragma pop_macro("TRANSPARENT")
#pragma pop_macro("PS_SOLID")
#pragma pop_macro("ILD_TRANSPARENT")
#pragma pop_macro("BDR_RAISEDINNER")
#pragma pop_macro("BF_RECT")
#pragma pop_macro("DST_BITMAP")
#pragma pop_macro("DSS_DISABLED")
#pragma pop_macro("SPI_GETNONCLIENTMETRICS")
#pragma pop_macro("DT_HIDEPREFIX")
#pragma pop_macro("MSAA_MENU_SIG")
#pragma pop_macro("SPI_GETHIGHCONTRAST")
