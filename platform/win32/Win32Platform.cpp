#include "platform/win32/Win32Platform.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/ScaledGlyph.h"

#include "platform/win32/DibFormat.h"

namespace popupmenu {
namespace {

static_assert(sizeof(LogFontA) == sizeof(LOGFONTA));
static_assert(sizeof(wchar_t) == sizeof(char16_t));
static_assert(sizeof(AccessibleMenuHeader) == sizeof(MSAAMENUINFO));
static_assert(offsetof(AccessibleMenuHeader, cchWText) == offsetof(MSAAMENUINFO, cchWText));
static_assert(offsetof(AccessibleMenuHeader, pszWText) == offsetof(MSAAMENUINFO, pszWText));

std::atomic<HINSTANCE> g_resourceModule{nullptr};
std::atomic<MessageHandler> g_messageHandler{nullptr};

// The window procedure the library installs: it forwards to the portable handler, which
// contains every failure itself.
LRESULT CALLBACK forwardingWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const MessageHandler handler = g_messageHandler.load();
    if (handler == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return handler(Win32Platform::portable(hwnd), msg, wParam, lParam);
}

// A function of user32 that older Windows lacks, looked up at run time; nullptr where it is missing.
template <typename F>
F user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The screen's device context, released when the owner goes.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    ~ScreenDC() {
        if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A system library loaded for one call and let go of when the owner goes.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// The system's DPI: GetDpiForSystem, or on Windows before 10 the vertical pixels per inch of the
// screen. 0 when neither can be read.
std::uint32_t systemDpi() {
    using ForSystem = UINT(WINAPI*)();
    if (const auto forSystem = user32Function<ForSystem>("GetDpiForSystem")) {
        if (const UINT dpi = forSystem(); dpi != 0) return dpi;
    }
    const ScreenDC screen;
    if (screen.get() == nullptr) return 0;
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : 0;
}

// The CHECK bitmap resource: a packed DIB of 16 x 16 pixels at 24 bits, bottom-up.
struct CheckResource {
    const BITMAPINFO* info = nullptr;
    const BYTE* bits = nullptr;
};

std::optional<CheckResource> checkResource() {
    const HMODULE module = Win32Platform::resourceModule();
    const HRSRC found = FindResourceW(module, L"CHECK", MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* info = loaded != nullptr ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
    if (info == nullptr || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER) ||
        info->bmiHeader.biBitCount != 24 || info->bmiHeader.biCompression != BI_RGB ||
        info->bmiHeader.biWidth != kCheckGlyphSize || std::abs(info->bmiHeader.biHeight) != kCheckGlyphSize)
        return std::nullopt;
    return CheckResource{info, reinterpret_cast<const BYTE*>(info) + info->bmiHeader.biSize};
}

// The glyph at `size` x `size`, each pixel the glyph's own under its centre (glyphSourceIndex):
// 24 bits a pixel, bottom-up, rows padded to four bytes.
struct ScaledCheckGlyph {
    BITMAPINFO info{};
    std::vector<BYTE> pixels;
};

// The largest glyph made: the check column at 8 times the base DPI.
constexpr std::int32_t kLargestGlyph = 8 * kCheckGlyphSize;

std::optional<ScaledCheckGlyph> scaledCheckGlyph(std::int32_t size) {
    const std::optional<CheckResource> resource = checkResource();
    if (!resource || size <= 0 || size > kLargestGlyph) return std::nullopt;
    const bool bottomUp = resource->info->bmiHeader.biHeight > 0;
    const std::size_t sourceStride = (kCheckGlyphSize * 3 + 3) & ~3u;
    const std::size_t stride = (static_cast<std::size_t>(size) * 3 + 3) & ~std::size_t{3};
    ScaledCheckGlyph glyph;
    glyph.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    glyph.info.bmiHeader.biWidth = size;
    glyph.info.bmiHeader.biHeight = size;
    glyph.info.bmiHeader.biPlanes = 1;
    glyph.info.bmiHeader.biBitCount = 24;
    glyph.info.bmiHeader.biCompression = BI_RGB;
    glyph.pixels.assign(stride * static_cast<std::size_t>(size), 0);
    for (std::int32_t row = 0; row < size; ++row) {  // row 0 at the top
        const std::int32_t sourceRow = glyphSourceIndex(row, size);
        const BYTE* from = resource->bits + sourceStride * static_cast<std::size_t>(bottomUp ? kCheckGlyphSize - 1 - sourceRow : sourceRow);
        BYTE* to = glyph.pixels.data() + stride * static_cast<std::size_t>(size - 1 - row);
        for (std::int32_t column = 0; column < size; ++column)
            std::memcpy(to + 3 * column, from + 3 * glyphSourceIndex(column, size), 3);
    }
    return glyph;
}

const wchar_t kOwnerWindowClass[] = L"PopUpMenuOwnerWindow";

// Registers the class at every pop-up that needs the hidden owner, so that nothing is remembered
// between pop-ups: neither a registration that failed nor one that has since been undone.
bool registerOwnerWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = Win32Platform::resourceModule();
    wc.lpszClassName = kOwnerWindowClass;
    if (RegisterClassExW(&wc) != 0) return true;
    // The class of this name for this module is already there and is ours: registered by an
    // earlier pop-up, or left by an earlier load of the DLL at the same address. Its procedure is
    // DefWindowProcW, never code of the module, so it serves as it is.
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void Win32Platform::setResourceModule(HINSTANCE module) noexcept { g_resourceModule = module; }

HINSTANCE Win32Platform::resourceModule() noexcept {
    const HINSTANCE module = g_resourceModule.load();
    return module != nullptr ? module : GetModuleHandleW(nullptr);
}

int Win32Platform::messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) {
    const std::u16string t(text), c(caption);
    return MessageBoxW(nullptr, wide(t), wide(c), style);
}

Handle Win32Platform::createPopupMenu() { return portable(CreatePopupMenu()); }

bool Win32Platform::appendMenu(Handle menu, std::uint32_t flags, std::int32_t idOrSubmenu, std::uintptr_t itemData) {
    // For MF_POPUP the identifier is the submenu's handle, sign-extended like every handle.
    const UINT_PTR id = static_cast<UINT_PTR>(static_cast<INT_PTR>(idOrSubmenu));
    // For owner-drawn items and separators the last argument is item data, not a string.
    return AppendMenuW(native<HMENU>(menu), flags, id, reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(itemData))) != 0;
}

std::int32_t Win32Platform::trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y,
                                           Handle owner) {
    return TrackPopupMenu(native<HMENU>(menu), flags, x, y, 0, native<HWND>(owner), nullptr);
}

bool Win32Platform::destroyMenu(Handle menu) { return DestroyMenu(native<HMENU>(menu)) != 0; }

int Win32Platform::getMenuItemCount(Handle menu) { return GetMenuItemCount(native<HMENU>(menu)); }

bool Win32Platform::getMenuItem(Handle menu, int position, NativeMenuItem& item) {
    if (position < 0) return false;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    if (!GetMenuItemInfoW(native<HMENU>(menu), static_cast<UINT>(position), TRUE, &info)) return false;
    item = {info.fType, info.fState, static_cast<std::uintptr_t>(info.dwItemData)};
    return true;
}

bool Win32Platform::hiliteMenuItem(Handle owner, Handle menu, int position) {
    if (position < 0) return false;
    return HiliteMenuItem(native<HWND>(owner), native<HMENU>(menu), static_cast<UINT>(position),
                          MF_BYPOSITION | MF_HILITE) != 0;
}

Handle Win32Platform::getForegroundWindow() { return portable(GetForegroundWindow()); }

bool Win32Platform::setForegroundWindow(Handle hwnd) { return SetForegroundWindow(native<HWND>(hwnd)) != 0; }

std::uint32_t Win32Platform::getWindowThreadId(Handle hwnd) {
    return GetWindowThreadProcessId(native<HWND>(hwnd), nullptr);
}

std::uint32_t Win32Platform::getCurrentThreadId() { return GetCurrentThreadId(); }

void Win32Platform::unregisterOwnerWindowClass() noexcept {
    // Fails, harmlessly, when no pop-up needed the class.
    UnregisterClassW(kOwnerWindowClass, resourceModule());
}

Handle Win32Platform::createOwnerWindow() {
    if (!registerOwnerWindowClass()) return 0;
    // Never shown: a tool window keeps it off the taskbar in case anything ever shows it.
    return portable(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    resourceModule(), nullptr));
}

bool Win32Platform::destroyWindow(Handle hwnd) { return DestroyWindow(native<HWND>(hwnd)) != 0; }

bool Win32Platform::postMessage(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) {
    return PostMessageW(native<HWND>(hwnd), msg, wParam, lParam) != 0;
}

ProcValue Win32Platform::windowProcedureFor(MessageHandler handler) {
    g_messageHandler = handler;
    return reinterpret_cast<ProcValue>(&forwardingWindowProcedure);
}

ProcValue Win32Platform::setWindowProcedure(Handle hwnd, ProcValue procedure) {
    return SetWindowLongPtrW(native<HWND>(hwnd), GWLP_WNDPROC, procedure);
}

LResult Win32Platform::callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                           LParam lParam) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(procedure), native<HWND>(hwnd), msg, wParam, lParam);
}

bool Win32Platform::getCursorPos(Point& point) {
    POINT p{};
    const bool ok = GetCursorPos(&p) != 0;
    point = {p.x, p.y};
    return ok;
}

Handle Win32Platform::getDC(Handle hwnd) { return portable(GetDC(native<HWND>(hwnd))); }

int Win32Platform::releaseDC(Handle hwnd, Handle dc) { return ReleaseDC(native<HWND>(hwnd), native<HDC>(dc)); }

// On 32-bit Windows the records are the platform's own structures byte for byte (a plain
// 24- or 48-byte move); a 64-bit platform widens pointer-sized fields, so there the fields are
// converted one by one.
MeasureItemRecord Win32Platform::readMeasureItem(LParam address) {
    MeasureItemRecord record;
    if constexpr (sizeof(MEASUREITEMSTRUCT) == sizeof(MeasureItemRecord)) {
        RtlMoveMemory(&record, reinterpret_cast<const void*>(address), sizeof record);
    } else {
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(address);
        record = {mis->CtlType, mis->CtlID, mis->itemID, mis->itemWidth, mis->itemHeight,
                  static_cast<std::uint32_t>(mis->itemData)};
    }
    return record;
}

void Win32Platform::writeMeasureItem(LParam address, const MeasureItemRecord& record) {
    if constexpr (sizeof(MEASUREITEMSTRUCT) == sizeof(MeasureItemRecord)) {
        RtlMoveMemory(reinterpret_cast<void*>(address), &record, sizeof record);
    } else {
        // Only the fields the record carries in full go back; itemData keeps its 64-bit value.
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(address);
        mis->CtlType = record.CtlType;
        mis->CtlID = record.CtlID;
        mis->itemID = record.itemID;
        mis->itemWidth = record.itemWidth;
        mis->itemHeight = record.itemHeight;
    }
}

DrawItemRecord Win32Platform::readDrawItem(LParam address) {
    DrawItemRecord record;
    if constexpr (sizeof(DRAWITEMSTRUCT) == sizeof(DrawItemRecord)) {
        RtlMoveMemory(&record, reinterpret_cast<const void*>(address), sizeof record);
    } else {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(address);
        record.CtlType = dis->CtlType;
        record.CtlID = dis->CtlID;
        record.itemID = dis->itemID;
        record.itemAction = dis->itemAction;
        record.itemState = dis->itemState;
        record.hwndItem = portable(dis->hwndItem);
        record.hDC = portable(dis->hDC);
        record.rcItem = {dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
        record.itemData = static_cast<std::uint32_t>(dis->itemData);
    }
    return record;
}

bool Win32Platform::getNonClientMetrics(NonClientMetricsA& metrics, std::uint32_t dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const auto forDpi = user32Function<ForDpi>("SystemParametersInfoForDpi");
    if (forDpi == nullptr || dpi == 0)
        return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != 0;
    // The function has a wide form only. Its record without iPaddedBorderWidth is refused, so the
    // whole one is read and the fields the ANSI record holds are copied over.
    NONCLIENTMETRICSW wide{};
    wide.cbSize = sizeof wide;
    if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi)) return false;
    const std::uint32_t cbSize = metrics.cbSize;
    metrics = NonClientMetricsA{};
    metrics.cbSize = cbSize;
    metrics.iBorderWidth = wide.iBorderWidth;
    metrics.iScrollWidth = wide.iScrollWidth;
    metrics.iScrollHeight = wide.iScrollHeight;
    metrics.iCaptionWidth = wide.iCaptionWidth;
    metrics.iCaptionHeight = wide.iCaptionHeight;
    metrics.iSmCaptionWidth = wide.iSmCaptionWidth;
    metrics.iSmCaptionHeight = wide.iSmCaptionHeight;
    metrics.iMenuWidth = wide.iMenuWidth;
    metrics.iMenuHeight = wide.iMenuHeight;
    const auto narrow = [](const LOGFONTW& from, LogFontA& to) {
        to.lfHeight = from.lfHeight;
        to.lfWidth = from.lfWidth;
        to.lfEscapement = from.lfEscapement;
        to.lfOrientation = from.lfOrientation;
        to.lfWeight = from.lfWeight;
        to.lfItalic = from.lfItalic;
        to.lfUnderline = from.lfUnderline;
        to.lfStrikeOut = from.lfStrikeOut;
        to.lfCharSet = from.lfCharSet;
        to.lfOutPrecision = from.lfOutPrecision;
        to.lfClipPrecision = from.lfClipPrecision;
        to.lfQuality = from.lfQuality;
        to.lfPitchAndFamily = from.lfPitchAndFamily;
        WideCharToMultiByte(CP_ACP, 0, from.lfFaceName, -1, to.lfFaceName.data(),
                            static_cast<int>(to.lfFaceName.size()), nullptr, nullptr);
        to.lfFaceName.back() = '\0';
    };
    narrow(wide.lfCaptionFont, metrics.lfCaptionFont);
    narrow(wide.lfSmCaptionFont, metrics.lfSmCaptionFont);
    narrow(wide.lfMenuFont, metrics.lfMenuFont);
    narrow(wide.lfStatusFont, metrics.lfStatusFont);
    narrow(wide.lfMessageFont, metrics.lfMessageFont);
    return true;
}

int Win32Platform::threadDpiAwareness() {
    using GetContext = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    const auto getContext = user32Function<GetContext>("GetThreadDpiAwarenessContext");
    const auto awarenessOf = user32Function<AwarenessOf>("GetAwarenessFromDpiAwarenessContext");
    if (getContext == nullptr || awarenessOf == nullptr) return win::AWARENESS_INVALID;
    return awarenessOf(getContext());
}

std::intptr_t Win32Platform::setThreadDpiAwarenessContext(std::intptr_t context) {
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    const auto setContext = user32Function<SetContext>("SetThreadDpiAwarenessContext");
    if (setContext == nullptr) return 0;
    return reinterpret_cast<std::intptr_t>(setContext(reinterpret_cast<HANDLE>(context)));
}

std::uint32_t Win32Platform::dpiForWindow(Handle hwnd) {
    using ForWindow = UINT(WINAPI*)(HWND);
    if (const auto forWindow = user32Function<ForWindow>("GetDpiForWindow")) {
        if (const UINT dpi = forWindow(native<HWND>(hwnd)); dpi != 0) return dpi;
    }
    return systemDpi();
}

std::uint32_t Win32Platform::dpiAtPoint(const Point& point) {
    // GetDpiForMonitor is in shcore, which only Windows 8.1 and later have; it is loaded for the
    // call and let go of right after.
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int /* MDT_EFFECTIVE_DPI */, UINT*, UINT*);
    const LoadedLibrary shcore(L"shcore.dll");
    if (shcore.get() != nullptr) {
        UINT x = 0, y = 0;
        const auto forMonitor =
            reinterpret_cast<ForMonitor>(reinterpret_cast<void*>(GetProcAddress(shcore.get(), "GetDpiForMonitor")));
        const HMONITOR monitor = MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONEAREST);
        if (forMonitor != nullptr && monitor != nullptr && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y != 0)
            return y;
    }
    return systemDpi();
}

int Win32Platform::drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) {
    RECT r = toRECT(rect);
    // The count is in UTF-16 code units, so the text needs no terminator and may hold NULs.
    const int result = DrawTextW(native<HDC>(dc), reinterpret_cast<LPCWSTR>(text.data()),
                                 static_cast<int>(text.size()), &r, format);
    rect = {r.left, r.top, r.right, r.bottom};
    return result;
}

ColorRef Win32Platform::getSysColor(int index) { return GetSysColor(index); }

bool Win32Platform::highContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool Win32Platform::drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) {
    RECT r = toRECT(rect);
    return DrawEdge(native<HDC>(dc), &r, edge, flags) != 0;
}

bool Win32Platform::drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y, std::uint32_t flags) {
    return DrawStateW(native<HDC>(dc), nullptr, nullptr, reinterpret_cast<LPARAM>(native<HBITMAP>(bitmap)), 0, x, y,
                      0, 0, flags) != 0;
}

Handle Win32Platform::createCompatibleDC(Handle dc) { return portable(CreateCompatibleDC(native<HDC>(dc))); }

Handle Win32Platform::createDibSection(std::int32_t width, std::int32_t height, std::uint32_t*& bits) {
    const BITMAPINFO info = topDown32Bit(width, height);
    void* pixels = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = bitmap != nullptr ? static_cast<std::uint32_t*>(pixels) : nullptr;
    return portable(bitmap);
}

void Win32Platform::gdiFlush() { GdiFlush(); }

Handle Win32Platform::selectObject(Handle dc, Handle object) {
    return portable(SelectObject(native<HDC>(dc), native<HGDIOBJ>(object)));
}

bool Win32Platform::deleteObject(Handle object) { return DeleteObject(native<HGDIOBJ>(object)) != 0; }

bool Win32Platform::deleteDC(Handle dc) { return DeleteDC(native<HDC>(dc)) != 0; }

int Win32Platform::setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width,
                                     std::int32_t height, const std::uint32_t* pixels) {
    const BITMAPINFO info = topDown32Bit(width, height);
    // The whole image from its origin: for a top-down image, scan lines 0 to height - 1 are its
    // rows from the top.
    return SetDIBitsToDevice(native<HDC>(dc), x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                             static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
}

Handle Win32Platform::createFontIndirect(const LogFontA& font) {
    LOGFONTA logFont;
    std::memcpy(&logFont, &font, sizeof logFont);
    return portable(CreateFontIndirectA(&logFont));
}

Handle Win32Platform::createPen(int style, int width, ColorRef color) { return portable(CreatePen(style, width, color)); }

Handle Win32Platform::createSolidBrush(ColorRef color) { return portable(CreateSolidBrush(color)); }

bool Win32Platform::rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return Rectangle(native<HDC>(dc), left, top, right, bottom) != 0;
}

ColorRef Win32Platform::setTextColor(Handle dc, ColorRef color) { return SetTextColor(native<HDC>(dc), color); }

int Win32Platform::setBkMode(Handle dc, int mode) { return SetBkMode(native<HDC>(dc), mode); }

Handle Win32Platform::loadCheckBitmap(std::int32_t size) {
    if (size == kCheckGlyphSize) return portable(LoadBitmapW(resourceModule(), L"CHECK"));
    const std::optional<ScaledCheckGlyph> glyph = scaledCheckGlyph(size);
    if (!glyph) return 0;
    // A bitmap in the screen's format, as LoadBitmap makes one.
    const ScreenDC screen;
    return portable(CreateDIBitmap(screen.get(), &glyph->info.bmiHeader, CBM_INIT, glyph->pixels.data(), &glyph->info,
                                   DIB_RGB_COLORS));
}

bool Win32Platform::drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                   std::int32_t srcX, std::int32_t srcY, std::int32_t size, std::uint32_t rop) {
    if (size != kCheckGlyphSize) {
        const std::optional<ScaledCheckGlyph> glyph = scaledCheckGlyph(size);
        if (!glyph) return false;
        // Stored bottom-up like the resource: a source rectangle is counted from the bottom.
        return StretchDIBits(native<HDC>(dc), x, y, cx, cy, srcX, size - srcY - cy, cx, cy, glyph->pixels.data(),
                             &glyph->info, DIB_RGB_COLORS, rop) != 0;
    }
    const std::optional<CheckResource> resource = checkResource();
    if (!resource) return false;
    // The glyph's rows are stored bottom-up, where a source rectangle is counted from the bottom.
    const LONG height = resource->info->bmiHeader.biHeight;
    const int sourceY = height > 0 ? static_cast<int>(height) - srcY - cy : srcY;
    return StretchDIBits(native<HDC>(dc), x, y, cx, cy, srcX, sourceY, cx, cy, resource->bits, resource->info,
                         DIB_RGB_COLORS, rop) != 0;
}

bool Win32Platform::imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) {
    int cx = 0, cy = 0;
    const bool ok = ImageList_GetIconSize(native<HIMAGELIST>(imageList), &cx, &cy) != 0;
    if (ok) {
        width = cx;
        height = cy;
    }
    return ok;
}

bool Win32Platform::imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                                  std::uint32_t style) {
    return ImageList_Draw(native<HIMAGELIST>(imageList), index, native<HDC>(dc), x, y, style) != 0;
}

}  // namespace popupmenu
