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

#include "platform/WinConstants.h"

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

// The accessibility header that opens an owner-drawn menu item's data (MSAAMENUINFO), field for
// field: the signature win::MSAA_MENU_SIG, the label's length in UTF-16 code units without the
// NUL, and the NUL-terminated label. Accessibility clients read an owner-drawn item's text here.
struct AccessibleMenuHeader {
    std::uint32_t dwMSAASignature = 0;
    std::uint32_t cchWText = 0;
    char16_t* pszWText = nullptr;
};
static_assert(offsetof(AccessibleMenuHeader, pszWText) == 8);

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
    std::uintptr_t itemData = 0;  // the item data appendMenu stored
};

// The function the platform's window procedure thunk forwards every message to.
using MessageHandler = LResult (*)(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam);


class Platform {
public:
    virtual ~Platform() = default;

    // --- message box (user32 MessageBoxW) ---
    virtual int messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) = 0;

    // --- menus (user32) ---
    virtual Handle createPopupMenu() = 0;
    // AppendMenuW. Owner-drawn items and separators carry no text: `itemData` is what an
    // owner-drawn item keeps as its item data, pointer-sized.
    virtual bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t idOrSubmenu, std::uintptr_t itemData) = 0;
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
    // The system's metrics for `dpi` (SystemParametersInfoForDpi where user32 has it, its face names
    // converted to the ANSI code page; else SystemParametersInfoA, whose fonts are at the system's
    // DPI, the only one such a system knows).
    virtual bool getNonClientMetrics(NonClientMetricsA& metrics, std::uint32_t dpi) = 0;
    virtual int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) = 0;  // DrawTextW
    virtual ColorRef getSysColor(int index) = 0;
    // SystemParametersInfoW(SPI_GETHIGHCONTRAST) reports HCF_HIGHCONTRASTON: the user asked for a
    // high-contrast theme.
    virtual bool highContrastOn() = 0;
    virtual bool drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) = 0;
    virtual bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y,
                                 std::uint32_t flags) = 0;  // DrawStateW(dc, 0, 0, bitmap, 0, x, y, 0, 0, flags)

    // --- DPI (user32, shcore) ---
    // Every function here is looked up at run time, never linked: Windows before 10 lacks most of
    // them, and each member says what it answers then.
    // The calling thread's DPI awareness (GetThreadDpiAwarenessContext and
    // GetAwarenessFromDpiAwarenessContext): one of win::AWARENESS_*, AWARENESS_INVALID where the
    // functions are missing.
    virtual int threadDpiAwareness() = 0;
    // SetThreadDpiAwarenessContext: the previous context, or 0 when the context was refused or the
    // function is missing (the thread's awareness is then unchanged).
    virtual std::intptr_t setThreadDpiAwarenessContext(std::intptr_t context) = 0;
    // The DPI `hwnd` is shown at: GetDpiForWindow; without it the system's DPI (GetDpiForSystem,
    // else GetDeviceCaps(LOGPIXELSY) of the screen). 0 when none can be read.
    virtual std::uint32_t dpiForWindow(Handle hwnd) = 0;
    // The DPI of the monitor at a point of the screen (MonitorFromPoint, GetDpiForMonitor of
    // shcore); without them the system's DPI as above. 0 when none can be read.
    virtual std::uint32_t dpiAtPoint(const Point& point) = 0;

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
    // The glyph is 16 x 16 pixels in the resource; at any other `size` both members below show it
    // `size` x `size`, scaled by nearest neighbour: every pixel is one of the glyph's own, so the
    // mark keeps its two colours and hard edges at every size.
    // The CHECK bitmap, `size` x `size`; released with deleteObject.
    virtual Handle loadCheckBitmap(std::int32_t size) = 0;
    // Copies part of the CHECK glyph, `size` x `size`, onto `dc` with a raster operation (one
    // StretchDIBits at 1:1 from the module's resource, or from its scaled pixels), so no GDI object
    // is made: the cx x cy pixels at (srcX, srcY) of the glyph, counted from its top-left corner,
    // go to (x, y).
    virtual bool drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                std::int32_t srcX, std::int32_t srcY, std::int32_t size, std::uint32_t rop) = 0;

    // --- comctl32 image lists ---
    virtual bool imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) = 0;
    virtual bool imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                               std::uint32_t style) = 0;
};

}  // namespace popupmenu
