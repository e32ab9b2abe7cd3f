#pragma once
// What the renderer's pixel tests share: the real platform with a colour scheme of the test's
// choosing, a device context whose pixels can be read, an image list with pictures the test
// draws, and a draw request sent the way the platform sends it.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>

#include "model/MenuItems.h"
#include "model/Value.h"
#include "platform/win32/DibFormat.h"
#include "platform/win32/Win32Platform.h"
#include "render/Pixels.h"
#include "render/RenderContext.h"
#include "tests/support/AddItem.h"

namespace popupmenu::testing {

// The real Win32 platform, except that GetSysColor answers from `scheme` for the colours it
// names. The painters' colours are then known exactly, without changing the system's colours for
// other programs. (DrawEdge and DrawState still use the system's own 3-D colours.)
class SchemePlatform final : public Platform {
public:
    std::map<int, ColorRef> scheme;

    ColorRef getSysColor(int index) override {
        auto it = scheme.find(index);
        return it != scheme.end() ? it->second : real_.getSysColor(index);
    }

    int messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) override {
        return real_.messageBox(text, caption, style);
    }
    Handle createPopupMenu() override { return real_.createPopupMenu(); }
    bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t idOrSubmenu, std::uintptr_t itemData) override {
        return real_.appendMenu(menu, flags, idOrSubmenu, itemData);
    }
    std::int32_t trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y,
                                Handle owner) override {
        return real_.trackPopupMenu(menu, flags, x, y, owner);
    }
    bool destroyMenu(Handle menu) override { return real_.destroyMenu(menu); }
    int getMenuItemCount(Handle menu) override { return real_.getMenuItemCount(menu); }
    bool getMenuItem(Handle menu, int position, NativeMenuItem& item) override {
        return real_.getMenuItem(menu, position, item);
    }
    bool hiliteMenuItem(Handle owner, Handle menu, int position) override {
        return real_.hiliteMenuItem(owner, menu, position);
    }
    Handle getForegroundWindow() override { return real_.getForegroundWindow(); }
    bool setForegroundWindow(Handle hwnd) override { return real_.setForegroundWindow(hwnd); }
    std::uint32_t getWindowThreadId(Handle hwnd) override { return real_.getWindowThreadId(hwnd); }
    std::uint32_t getCurrentThreadId() override { return real_.getCurrentThreadId(); }
    Handle createOwnerWindow() override { return real_.createOwnerWindow(); }
    bool destroyWindow(Handle hwnd) override { return real_.destroyWindow(hwnd); }
    bool postMessage(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) override {
        return real_.postMessage(hwnd, msg, wParam, lParam);
    }
    ProcValue windowProcedureFor(MessageHandler handler) override { return real_.windowProcedureFor(handler); }
    ProcValue setWindowProcedure(Handle hwnd, ProcValue procedure) override {
        return real_.setWindowProcedure(hwnd, procedure);
    }
    LResult callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                LParam lParam) override {
        return real_.callWindowProcedure(procedure, hwnd, msg, wParam, lParam);
    }
    bool getCursorPos(Point& point) override { return real_.getCursorPos(point); }
    Handle getDC(Handle hwnd) override { return real_.getDC(hwnd); }
    int releaseDC(Handle hwnd, Handle dc) override { return real_.releaseDC(hwnd, dc); }
    MeasureItemRecord readMeasureItem(LParam address) override { return real_.readMeasureItem(address); }
    void writeMeasureItem(LParam address, const MeasureItemRecord& record) override {
        real_.writeMeasureItem(address, record);
    }
    DrawItemRecord readDrawItem(LParam address) override { return real_.readDrawItem(address); }
    bool getNonClientMetrics(NonClientMetricsA& metrics, std::uint32_t dpi) override {
        return real_.getNonClientMetrics(metrics, dpi);
    }
    int threadDpiAwareness() override { return real_.threadDpiAwareness(); }
    std::intptr_t setThreadDpiAwarenessContext(std::intptr_t context) override {
        return real_.setThreadDpiAwarenessContext(context);
    }
    std::uint32_t dpiForWindow(Handle hwnd) override { return real_.dpiForWindow(hwnd); }
    std::uint32_t dpiAtPoint(const Point& point) override { return real_.dpiAtPoint(point); }
    bool highContrastOn() override { return real_.highContrastOn(); }
    int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) override {
        return real_.drawText(dc, text, rect, format);
    }
    bool drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) override {
        return real_.drawEdge(dc, rect, edge, flags);
    }
    bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y, std::uint32_t flags) override {
        return real_.drawStateBitmap(dc, bitmap, x, y, flags);
    }
    Handle createCompatibleDC(Handle dc) override { return real_.createCompatibleDC(dc); }
    Handle createDibSection(std::int32_t width, std::int32_t height, std::uint32_t*& bits) override {
        return real_.createDibSection(width, height, bits);
    }
    void gdiFlush() override { real_.gdiFlush(); }
    Handle selectObject(Handle dc, Handle object) override { return real_.selectObject(dc, object); }
    bool deleteObject(Handle object) override { return real_.deleteObject(object); }
    bool deleteDC(Handle dc) override { return real_.deleteDC(dc); }
    int setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint32_t* pixels) override {
        return real_.setDIBitsToDevice(dc, x, y, width, height, pixels);
    }
    Handle createFontIndirect(const LogFontA& font) override { return real_.createFontIndirect(font); }
    Handle createPen(int style, int width, ColorRef color) override { return real_.createPen(style, width, color); }
    Handle createSolidBrush(ColorRef color) override { return real_.createSolidBrush(color); }
    bool rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        return real_.rectangle(dc, left, top, right, bottom);
    }
    ColorRef setTextColor(Handle dc, ColorRef color) override { return real_.setTextColor(dc, color); }
    int setBkMode(Handle dc, int mode) override { return real_.setBkMode(dc, mode); }
    Handle loadCheckBitmap(std::int32_t size) override { return real_.loadCheckBitmap(size); }
    bool drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t srcX,
                        std::int32_t srcY, std::int32_t size, std::uint32_t rop) override {
        return real_.drawCheckGlyph(dc, x, y, cx, cy, srcX, srcY, size, rop);
    }
    bool imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) override {
        return real_.imageListGetIconSize(imageList, width, height);
    }
    bool imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                       std::uint32_t style) override {
        return real_.imageListDraw(imageList, index, dc, x, y, style);
    }
private:
    Win32Platform real_;
};

// What a pixel is before anything paints it: a colour no painter uses.
inline constexpr COLORREF kUntouched = RGB(0x5A, 0xC3, 0x3C);

// A 32-bit top-down DIB section selected into a memory DC and filled with kUntouched: a device
// context for draw requests whose every pixel the test can read.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        const BITMAPINFO info = topDown32Bit(width, height);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = pixelOfColor(kUntouched);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC dc() const { return dc_; }
    bool ready() const { return bits_ != nullptr && previous_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        return colorOfPixel(bits_[y * width_ + x]);
    }
    void fill(const RECT& rc, COLORREF color) {
        GdiFlush();
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) bits_[y * width_ + x] = pixelOfColor(color);
    }
    bool samePixels(const Canvas& other) const {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            if (colorOfPixel(bits_[i]) != colorOfPixel(other.bits_[i])) return false;
        return true;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// A colour as the tests print it.
struct Colour {
    COLORREF value;
    friend bool operator==(Colour a, Colour b) { return a.value == b.value; }
};
inline std::ostream& operator<<(std::ostream& out, Colour c) {
    return out << "RGB(" << int(GetRValue(c.value)) << ", " << int(GetGValue(c.value)) << ", "
               << int(GetBValue(c.value)) << ")";
}

// A 16 x 16 image list of 24-bit pictures without a mask, so pictures are drawn exactly.
class PictureList {
public:
    PictureList(int size = 16) : size_(size) { list_ = ImageList_Create(size, size, ILC_COLOR24, 1, 1); }
    PictureList(const PictureList&) = delete;
    PictureList& operator=(const PictureList&) = delete;
    ~PictureList() { ImageList_Destroy(list_); }

    // Adds a picture whose pixel (x, y) is `color(x, y)`; returns its index.
    int add(const std::function<COLORREF(int x, int y)>& color) {
        const BITMAPINFO info = topDown32Bit(size_, size_);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x) pixels[y * size_ + x] = pixelOfColor(color(x, y));
        // The image list keeps a copy of the bitmap.
        const int index = ImageList_Add(list_, bitmap, nullptr);
        DeleteObject(bitmap);
        return index;
    }
    HIMAGELIST get() const { return list_; }
    // The handle as the library's interface carries it (32 bits).
    Handle handle() const { return Win32Platform::portable(list_); }

private:
    int size_;
    HIMAGELIST list_;
};

// A collection, the platform and the context a pop-up would hand the renderer.
class PixelTest : public ::testing::Test {
protected:
    PixelTest() {
        platform.scheme = {{COLOR_MENU, RGB(212, 208, 200)},      {COLOR_MENUTEXT, RGB(0, 0, 0)},
                           {COLOR_HIGHLIGHT, RGB(10, 36, 106)},   {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
                           {COLOR_GRAYTEXT, RGB(128, 128, 128)}};
    }

    COLORREF menu() const { return platform.scheme.at(COLOR_MENU); }
    COLORREF highlight() const { return platform.scheme.at(COLOR_HIGHLIGHT); }

    Ref<MenuItem> add(std::u16string key, std::u16string text, std::int32_t normalPicture = -1,
                      std::int32_t checkedPicture = -1) {
        return addWithPictures(*items, std::move(key), std::move(text), normalPicture, checkedPicture);
    }

    void useImageList(const PictureList& list, int size = 16) {
        context.imageList = list.handle();
        context.iconWidth = context.iconHeight = size;
    }

    // Sends the draw request the platform would send for the item with `itemID` in `state`.
    void draw(HDC dc, std::int32_t itemID, UINT state, RECT rcItem) {
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemID = static_cast<UINT>(itemID);
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = state;
        request.hDC = dc;
        request.rcItem = rcItem;
        DrawMenuItem(context, reinterpret_cast<LParam>(&request));
    }
    void draw(Canvas& canvas, std::int32_t itemID, UINT state, RECT rcItem) { draw(canvas.dc(), itemID, state, rcItem); }

    SchemePlatform platform;
    Ref<MenuItems> items = makeRef<MenuItems>(platform);
    RenderContext context{platform, 0, items.get(), 0, 0, 0};
};

// The check glyph's mark, row 0 at the top ('#' black).
inline constexpr const char* kCheckMark[16] = {
    "................", "..............##", ".............##.", "............##..",
    "..........###...", ".........###....", "........###.....", ".##....###......",
    ".###..####......", ".########.......", "..#######.......", "...#####........",
    "....####........", "....###.........", ".....##.........", "................",
};
inline bool isMark(int x, int y) { return kCheckMark[y][x] == '#'; }

}  // namespace popupmenu::testing
