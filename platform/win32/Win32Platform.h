#pragma once
// The platform over the real Win32 API (user32, gdi32, comctl32, kernel32).

#include <windows.h>

#include "platform/Platform.h"

namespace popupmenu {

// Not final: the benchmark derives a platform that timestamps the steps of a pop-up, and a test
// one that answers the high-contrast query.
class Win32Platform : public Platform {
public:
    // The module whose resources (the CHECK bitmap) and window class the platform uses: the DLL
    // sets itself here when it is loaded; by default it is the executable.
    static void setResourceModule(HINSTANCE module) noexcept;
    static HINSTANCE resourceModule() noexcept;
    // Unregisters the window class of the hidden owner window, which createOwnerWindow registers
    // for the resource module: Windows keeps a DLL's classes after the DLL has been unloaded.
    // Called when the DLL is unloaded while the process goes on.
    static void unregisterOwnerWindowClass() noexcept;

    // Handles cross the portable interface as 32-bit values; USER and GDI handles are 32-bit
    // significant on 64-bit Windows too, so truncating and sign-extending is lossless.
    template <typename H>
    static H native(Handle handle) noexcept {
        return reinterpret_cast<H>(static_cast<INT_PTR>(handle));
    }
    template <typename H>
    static Handle portable(H handle) noexcept {
        return static_cast<Handle>(reinterpret_cast<INT_PTR>(handle));
    }

    int messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) override;
    Handle createPopupMenu() override;
    bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t idOrSubmenu, std::uintptr_t itemData) override;
    std::int32_t trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y, Handle owner) override;
    bool destroyMenu(Handle menu) override;
    int getMenuItemCount(Handle menu) override;
    bool getMenuItem(Handle menu, int position, NativeMenuItem& item) override;
    bool hiliteMenuItem(Handle owner, Handle menu, int position) override;
    Handle getForegroundWindow() override;
    bool setForegroundWindow(Handle hwnd) override;
    std::uint32_t getWindowThreadId(Handle hwnd) override;
    std::uint32_t getCurrentThreadId() override;
    Handle createOwnerWindow() override;
    bool destroyWindow(Handle hwnd) override;
    bool postMessage(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) override;
    ProcValue windowProcedureFor(MessageHandler handler) override;
    ProcValue setWindowProcedure(Handle hwnd, ProcValue procedure) override;
    LResult callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                LParam lParam) override;
    bool getCursorPos(Point& point) override;
    Handle getDC(Handle hwnd) override;
    int releaseDC(Handle hwnd, Handle dc) override;
    MeasureItemRecord readMeasureItem(LParam address) override;
    void writeMeasureItem(LParam address, const MeasureItemRecord& record) override;
    DrawItemRecord readDrawItem(LParam address) override;
    bool getNonClientMetrics(NonClientMetricsA& metrics, std::uint32_t dpi) override;
    int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) override;
    ColorRef getSysColor(int index) override;
    bool highContrastOn() override;
    bool drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) override;
    bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y, std::uint32_t flags) override;
    int threadDpiAwareness() override;
    std::intptr_t setThreadDpiAwarenessContext(std::intptr_t context) override;
    std::uint32_t dpiForWindow(Handle hwnd) override;
    std::uint32_t dpiAtPoint(const Point& point) override;
    Handle createCompatibleDC(Handle dc) override;
    Handle createDibSection(std::int32_t width, std::int32_t height, std::uint32_t*& bits) override;
    void gdiFlush() override;
    Handle selectObject(Handle dc, Handle object) override;
    bool deleteObject(Handle object) override;
    bool deleteDC(Handle dc) override;
    int setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint32_t* pixels) override;
    Handle createFontIndirect(const LogFontA& font) override;
    Handle createPen(int style, int width, ColorRef color) override;
    Handle createSolidBrush(ColorRef color) override;
    bool rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    ColorRef setTextColor(Handle dc, ColorRef color) override;
    int setBkMode(Handle dc, int mode) override;
    Handle loadCheckBitmap(std::int32_t size) override;
    bool drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t srcX,
                        std::int32_t srcY, std::int32_t size, std::uint32_t rop) override;
    bool imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) override;
    bool imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                       std::uint32_t style) override;
};

}  // namespace popupmenu
