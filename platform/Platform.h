#pragma once
// The one door to the operating system. Every user32, gdi32, comctl32 and kernel32 operation the
// library performs is a member of `Platform`; the portable core (model/, engine/, render/) sees
// only this header, so it builds and runs natively against a recording implementation in tests.
//
// Handles cross this interface as the 32-bit values the automation interface publishes
// (`ItemID` holds submenu handles, `hImageList` is a `long`). USER and GDI handles are 32-bit
// significant on every Windows architecture, so the real implementation truncates and
// sign-extends them losslessly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace popupmenu {

using Handle = std::int32_t;      // window, menu, device context, GDI object or image list
using ColorRef = std::uint32_t;   // 0x00BBGGRR
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using ProcValue = std::intptr_t;  // a window procedure as SetWindowLongPtr hands it out

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    std::int32_t x = 0, y = 0;
};

// The owner-draw records in their 32-bit layout. On a 32-bit platform they are byte-for-byte
// what a message's lParam addresses; a 64-bit platform converts field by field.
struct MeasureItemRecord {
    std::uint32_t CtlType = 0, CtlID = 0, itemID = 0, itemWidth = 0, itemHeight = 0, itemData = 0;
};
static_assert(sizeof(MeasureItemRecord) == 24);

struct DrawItemRecord {
    std::uint32_t CtlType = 0, CtlID = 0, itemID = 0, itemAction = 0, itemState = 0;
    Handle hwndItem = 0;
    Handle hDC = 0;
    Rect rcItem;
    std::uint32_t itemData = 0;
};
static_assert(sizeof(DrawItemRecord) == 48);

// LOGFONTA and NONCLIENTMETRICSA (without iPaddedBorderWidth), in their fixed layouts.
struct LogFontA {
    std::int32_t lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 0;
    std::uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0, lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
    std::array<char, 32> lfFaceName{};
};
static_assert(sizeof(LogFontA) == 60);

struct NonClientMetricsA {
    std::uint32_t cbSize = 0;
    std::int32_t iBorderWidth = 0, iScrollWidth = 0, iScrollHeight = 0;
    std::int32_t iCaptionWidth = 0, iCaptionHeight = 0;
    LogFontA lfCaptionFont;
    std::int32_t iSmCaptionWidth = 0, iSmCaptionHeight = 0;
    LogFontA lfSmCaptionFont;
    std::int32_t iMenuWidth = 0, iMenuHeight = 0;
    LogFontA lfMenuFont, lfStatusFont, lfMessageFont;
};
static_assert(sizeof(NonClientMetricsA) == 340);

// One item of a native menu, as GetMenuItemInfoW reports it.
struct NativeMenuItem {
    std::uint32_t type = 0;      // MFT_ flags (MFT_SEPARATOR)
    std::uint32_t state = 0;     // MFS_ flags (MFS_GRAYED, MFS_HILITE)
    std::uint32_t itemData = 0;  // the item data appendMenu stored
};

// The function the platform's window procedure thunk forwards every message to.
using MessageHandler = LResult (*)(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam);

// The Windows headers define these names as macros; shield the declarations from them so the
// header can be included before or after <windows.h>. (Code that sees <windows.h> uses the macros.)
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
// Platform constants the core passes through this interface.
namespace win {
inline constexpr std::uint32_t MB_ICONWARNING_OK = 0x30, MB_ICONINFORMATION_OK = 0x40;
inline constexpr std::uint32_t MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
                               MF_OWNERDRAW = 0x100, MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800;
inline constexpr std::uint32_t TPM_RIGHTBUTTON = 0x2, TPM_RETURNCMD = 0x100;
inline constexpr std::uint32_t WM_NULL = 0x0, WM_DRAWITEM = 0x2B, WM_MEASUREITEM = 0x2C, WM_MENUCHAR = 0x120;
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
inline constexpr std::uint32_t DT_CALCRECT = 0x400;
inline constexpr int TRANSPARENT = 1, PS_SOLID = 0;
inline constexpr std::uint32_t ILD_TRANSPARENT = 1;
inline constexpr std::uint32_t BDR_RAISEDINNER = 4, BF_RECT = 15;
inline constexpr std::uint32_t DST_BITMAP = 0x4, DSS_DISABLED = 0x20;
inline constexpr std::uint32_t SPI_GETNONCLIENTMETRICS = 41;
}  // namespace win
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

class Platform {
public:
    virtual ~Platform() = default;

    // --- message box (user32 MessageBoxW) ---
    virtual int messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) = 0;

    // --- menus (user32) ---
    virtual Handle createPopupMenu() = 0;
    // AppendMenuW. Owner-drawn items and separators carry no text: `itemData` is what an
    // owner-drawn item keeps as its item data.
    virtual bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t idOrSubmenu, std::uint32_t itemData) = 0;
    virtual std::int32_t trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y,
                                        Handle owner) = 0;
    virtual bool destroyMenu(Handle menu) = 0;
    // The number of items of a menu, or -1 when `menu` is no menu (GetMenuItemCount).
    virtual int getMenuItemCount(Handle menu) = 0;
    // The item at a 0-based position (GetMenuItemInfoW with MIIM_FTYPE, MIIM_STATE and MIIM_DATA);
    // false when there is none.
    virtual bool getMenuItem(Handle menu, int position, NativeMenuItem& item) = 0;
    // Highlights the item at a 0-based position of a menu (HiliteMenuItem with MF_BYPOSITION and
    // MF_HILITE). Measured under Wine: in a menu that is open, the menu loop's selection moves
    // there, as with an arrow key.
    virtual bool hiliteMenuItem(Handle owner, Handle menu, int position) = 0;

    // --- windows and the hook (user32, kernel32) ---
    virtual Handle getForegroundWindow() = 0;
    virtual bool setForegroundWindow(Handle hwnd) = 0;
    virtual std::uint32_t getWindowThreadId(Handle hwnd) = 0;   // GetWindowThreadProcessId
    virtual std::uint32_t getCurrentThreadId() = 0;
    virtual Handle createOwnerWindow() = 0;                     // a hidden window of the calling thread
    virtual bool destroyWindow(Handle hwnd) = 0;
    virtual bool postMessage(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) = 0;
    // The address of a window procedure that forwards every message to `handler`.
    virtual ProcValue windowProcedureFor(MessageHandler handler) = 0;
    virtual ProcValue setWindowProcedure(Handle hwnd, ProcValue procedure) = 0;  // SetWindowLongPtrW(GWLP_WNDPROC)
    virtual LResult callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                        LParam lParam) = 0;                      // CallWindowProcW
    virtual bool getCursorPos(Point& point) = 0;
    virtual Handle getDC(Handle hwnd) = 0;
    virtual int releaseDC(Handle hwnd, Handle dc) = 0;

    // --- the records a message's lParam addresses (kernel32 RtlMoveMemory on 32 bits) ---
    virtual MeasureItemRecord readMeasureItem(LParam address) = 0;
    virtual void writeMeasureItem(LParam address, const MeasureItemRecord& record) = 0;
    virtual DrawItemRecord readDrawItem(LParam address) = 0;

    // --- system metrics, text and colours (user32) ---
    virtual bool getNonClientMetrics(NonClientMetricsA& metrics) = 0;  // SystemParametersInfoA(41, 340, ...)
    virtual int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) = 0;  // DrawTextW
    virtual ColorRef getSysColor(int index) = 0;
    virtual bool drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) = 0;
    virtual bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y,
                                 std::uint32_t flags) = 0;  // DrawStateW(dc, 0, 0, bitmap, 0, x, y, 0, 0, flags)

    // --- gdi32 ---
    virtual Handle createCompatibleDC(Handle dc) = 0;
    // A top-down 32-bit DIB section; `bits` receives its pixels (0x00RRGGBB per pixel, rows of
    // `width` pixels) or nullptr on failure.
    virtual Handle createDibSection(std::int32_t width, std::int32_t height, std::uint32_t*& bits) = 0;
    virtual void gdiFlush() = 0;
    virtual Handle selectObject(Handle dc, Handle object) = 0;
    virtual bool deleteObject(Handle object) = 0;
    virtual bool deleteDC(Handle dc) = 0;
    // SetDIBitsToDevice of a top-down 32-bit image: `width` x `height` pixels (0x00RRGGBB, rows of
    // `width` pixels) copied unchanged to (x, y) of `dc`. Returns the number of rows copied.
    virtual int setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                  const std::uint32_t* pixels) = 0;
    virtual Handle createFontIndirect(const LogFontA& font) = 0;  // CreateFontIndirectA
    virtual Handle createPen(int style, int width, ColorRef color) = 0;
    virtual Handle createSolidBrush(ColorRef color) = 0;
    virtual bool rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    virtual ColorRef setTextColor(Handle dc, ColorRef color) = 0;
    virtual int setBkMode(Handle dc, int mode) = 0;

    // --- resources of this module ---
    virtual Handle loadCheckBitmap() = 0;  // the CHECK bitmap; released with deleteObject
    // Copies part of the CHECK bitmap onto `dc` with a raster operation straight from the module's
    // resource (StretchDIBits at 1:1), so no GDI object is made: the cx x cy pixels at (srcX, srcY)
    // of the glyph, counted from its top-left corner, go to (x, y).
    virtual bool drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                std::int32_t srcX, std::int32_t srcY, std::uint32_t rop) = 0;

    // --- comctl32 image lists ---
    virtual bool imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) = 0;
    virtual bool imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                               std::uint32_t style) = 0;
};

}  // namespace popupmenu
