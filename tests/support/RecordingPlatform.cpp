#include "tests/support/RecordingPlatform.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace popupmenu::testing {

std::string toUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const Call& call) {
    out << "{\"" << call.name << "\"";
    if (!call.args.empty() || !call.text.empty()) {
        out << ", {";
        for (std::size_t i = 0; i < call.args.size(); ++i) {
            if (i) out << ", ";
            if (call.args[i] >= 0x100 || call.args[i] < -1)
                out << "0x" << std::hex << call.args[i] << std::dec;
            else
                out << call.args[i];
        }
        out << "}";
    }
    if (!call.text.empty()) out << ", u\"" << toUtf8(call.text) << "\"";
    return out << "}";
}

void PrintTo(const Call& call, std::ostream* out) { *out << call; }

RecordingPlatform::RecordingPlatform() {
    // A classic grey scheme, so colours differ from one another.
    sysColors_ = {{win::COLOR_MENU, 0xC8D0D4},      {win::COLOR_MENUTEXT, 0x000000},
                  {win::COLOR_HIGHLIGHT, 0x6A240A}, {win::COLOR_HIGHLIGHTTEXT, 0xFFFFFF},
                  {win::COLOR_GRAYTEXT, 0x808080}};
    menuFont_.lfHeight = -11;
    menuFont_.lfWeight = 400;
    std::strcpy(menuFont_.lfFaceName.data(), "Tahoma");
}

void RecordingPlatform::record(std::string name, std::vector<long long> args, std::u16string text) {
    calls_.emplace_back(std::move(name), std::move(args), std::move(text));
}

long long RecordingPlatform::result(const std::string& op, long long fallback) {
    if (auto q = queued_.find(op); q != queued_.end() && !q->second.empty()) {
        const long long value = q->second.front();
        q->second.erase(q->second.begin());
        return value;
    }
    if (failing_.count(op)) return 0;
    if (auto f = fixed_.find(op); f != fixed_.end()) return f->second;
    return fallback;
}

Calls RecordingPlatform::callsNamed(const std::set<std::string>& names) const {
    Calls out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const Call& c) { return names.count(c.name) != 0; });
    return out;
}

std::size_t RecordingPlatform::countOf(const std::string& name) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [&](const Call& c) { return c.name == name; }));
}

const std::vector<AppendedItem>& RecordingPlatform::menuItems(Handle menu) const {
    static const std::vector<AppendedItem> none;
    auto it = menus_.find(menu);
    return it == menus_.end() ? none : it->second;
}

Handle RecordingPlatform::selectedIn(Handle dc, char kind) const {
    auto d = selected_.find(dc);
    if (d == selected_.end()) return 0;
    auto k = d->second.find(kind);
    return k == d->second.end() ? 0 : k->second;
}

LResult RecordingPlatform::deliver(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) {
    if (procedureOf(hwnd) == kHookProcedure && handler_) return handler_(hwnd, msg, wParam, lParam);
    return onCallWindowProcedure ? onCallWindowProcedure(procedureOf(hwnd), hwnd, msg, wParam, lParam) : 0;
}

ProcValue RecordingPlatform::procedureOf(Handle hwnd) const {
    auto it = procedures_.find(hwnd);
    return it == procedures_.end() ? kOriginalProcedure : it->second;
}

Handle RecordingPlatform::newGdiObject(char kind, const std::string& op) {
    const Handle h = static_cast<Handle>(result(op, nextGdi_));
    if (h == nextGdi_) ++nextGdi_;
    if (h != 0) {
        liveGdi_.insert(h);
        kinds_[h] = kind;
    }
    return h;
}

// --- Platform ---

int RecordingPlatform::messageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style) {
    record("MessageBoxW", {static_cast<long long>(style)}, std::u16string(text));
    boxes_.push_back({std::u16string(text), std::u16string(caption), style});
    return static_cast<int>(result("MessageBoxW", 1));
}

Handle RecordingPlatform::createPopupMenu() {
    const Handle h = static_cast<Handle>(result("CreatePopupMenu", nextMenu_));
    if (h == nextMenu_) ++nextMenu_;
    record("CreatePopupMenu");
    if (h != 0) {
        liveMenus_.insert(h);
        menus_[h];
    }
    return h;
}

bool RecordingPlatform::appendMenu(Handle menu, std::uint32_t flags, std::int32_t id, std::uintptr_t itemData) {
    record("AppendMenuW", {menu, flags, id});
    const bool ok = result("AppendMenuW", liveMenus_.count(menu) ? 1 : 0) != 0;
    if (ok && liveMenus_.count(menu)) menus_[menu].push_back({flags, id, itemData});
    return ok;
}

std::int32_t RecordingPlatform::trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y,
                                               Handle owner) {
    record("TrackPopupMenu", {menu, flags, x, y, 0, owner});
    const std::int32_t chosen = onTrack ? onTrack(menu, owner) : 0;
    return static_cast<std::int32_t>(result("TrackPopupMenu", chosen));
}

bool RecordingPlatform::destroyMenu(Handle menu) {
    record("DestroyMenu", {menu});
    if (onDestroyMenu) onDestroyMenu(menu);
    if (!liveMenus_.count(menu)) return false;
    // Destroying a menu destroys the submenus attached to it.
    std::vector<Handle> pending{menu};
    while (!pending.empty()) {
        const Handle m = pending.back();
        pending.pop_back();
        liveMenus_.erase(m);
        for (const auto& item : menus_[m])
            if ((item.flags & win::MF_POPUP) && liveMenus_.count(item.id)) pending.push_back(item.id);
    }
    return result("DestroyMenu", 1) != 0;
}

int RecordingPlatform::highlighted(Handle menu) const {
    auto it = highlighted_.find(menu);
    return it == highlighted_.end() ? -1 : it->second;
}

int RecordingPlatform::getMenuItemCount(Handle menu) {
    record("GetMenuItemCount", {menu});
    const long long count = liveMenus_.count(menu) ? static_cast<long long>(menuItems(menu).size()) : -1;
    return static_cast<int>(failing_.count("GetMenuItemCount") ? -1 : result("GetMenuItemCount", count));
}

bool RecordingPlatform::getMenuItem(Handle menu, int position, NativeMenuItem& item) {
    record("GetMenuItemInfoW", {menu, position});
    const std::vector<AppendedItem>& appended = menuItems(menu);
    if (failing_.count("GetMenuItemInfoW") || !liveMenus_.count(menu) || position < 0 ||
        static_cast<std::size_t>(position) >= appended.size())
        return false;
    // What AppendMenu's flags become: the separator and owner-draw flags are the item's type,
    // the grayed, disabled and checked flags its state.
    const AppendedItem& found = appended[static_cast<std::size_t>(position)];
    item.type = found.flags & (win::MF_SEPARATOR | win::MF_OWNERDRAW);
    item.state = found.flags & (win::MF_GRAYED | win::MF_DISABLED | win::MF_CHECKED);
    if (highlighted(menu) == position) item.state |= win::MFS_HILITE;
    item.itemData = found.itemData;
    return true;
}

bool RecordingPlatform::hiliteMenuItem(Handle owner, Handle menu, int position) {
    record("HiliteMenuItem", {owner, menu, position});
    if (failing_.count("HiliteMenuItem") || !liveMenus_.count(menu) || position < 0 ||
        static_cast<std::size_t>(position) >= menuItems(menu).size())
        return false;
    highlighted_[menu] = position;
    return true;
}

Handle RecordingPlatform::getForegroundWindow() {
    record("GetForegroundWindow");
    return static_cast<Handle>(result("GetForegroundWindow", foreground_));
}

bool RecordingPlatform::setForegroundWindow(Handle hwnd) {
    record("SetForegroundWindow", {hwnd});
    return result("SetForegroundWindow", 1) != 0;
}

std::uint32_t RecordingPlatform::getWindowThreadId(Handle hwnd) {
    record("GetWindowThreadProcessId", {hwnd});
    auto it = windowThreads_.find(hwnd);
    const long long owner = hwnd == 0 ? 0 : it == windowThreads_.end() ? kThreadId : it->second;
    return static_cast<std::uint32_t>(result("GetWindowThreadProcessId", owner));
}

std::uint32_t RecordingPlatform::getCurrentThreadId() {
    record("GetCurrentThreadId");
    return static_cast<std::uint32_t>(result("GetCurrentThreadId", kThreadId));
}

Handle RecordingPlatform::createOwnerWindow() {
    const Handle h = static_cast<Handle>(result("CreateWindowExW", nextWindow_));
    if (h == nextWindow_) ++nextWindow_;
    record("CreateWindowExW");
    return h;
}

bool RecordingPlatform::destroyWindow(Handle hwnd) {
    record("DestroyWindow", {hwnd});
    return result("DestroyWindow", 1) != 0;
}

bool RecordingPlatform::postMessage(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) {
    record("PostMessageW", {hwnd, msg, static_cast<long long>(wParam), lParam});
    return result("PostMessageW", 1) != 0;
}

ProcValue RecordingPlatform::windowProcedureFor(MessageHandler handler) {
    handler_ = handler;
    return kHookProcedure;
}

ProcValue RecordingPlatform::setWindowProcedure(Handle hwnd, ProcValue procedure) {
    record("SetWindowLongPtrW", {hwnd, -4, procedure});
    if (failing_.count("SetWindowLongPtrW")) return 0;
    const ProcValue previous = procedureOf(hwnd);
    procedures_[hwnd] = procedure;
    return previous;
}

LResult RecordingPlatform::callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                               LParam lParam) {
    record("CallWindowProcW", {procedure, hwnd, msg, static_cast<long long>(wParam), lParam});
    return onCallWindowProcedure ? onCallWindowProcedure(procedure, hwnd, msg, wParam, lParam) : 0x5A5A;
}

bool RecordingPlatform::getCursorPos(Point& point) {
    record("GetCursorPos");
    point = {static_cast<std::int32_t>(result("GetCursorPos.x", 300)),
             static_cast<std::int32_t>(result("GetCursorPos.y", 200))};
    return true;
}

Handle RecordingPlatform::getDC(Handle hwnd) {
    const Handle h = static_cast<Handle>(result("GetDC", nextDC_));
    if (h == nextDC_) ++nextDC_;
    record("GetDC", {hwnd});
    return h;
}

int RecordingPlatform::releaseDC(Handle hwnd, Handle dc) {
    record("ReleaseDC", {hwnd, dc});
    selected_.erase(dc);
    return static_cast<int>(result("ReleaseDC", 1));
}

MeasureItemRecord RecordingPlatform::readMeasureItem(LParam address) {
    record("RtlMoveMemory", {sizeof(MeasureItemRecord)});
    MeasureItemRecord copy;
    std::memcpy(&copy, reinterpret_cast<const void*>(address), sizeof copy);
    return copy;
}

void RecordingPlatform::writeMeasureItem(LParam address, const MeasureItemRecord& record_) {
    record("RtlMoveMemory", {sizeof(MeasureItemRecord)});
    std::memcpy(reinterpret_cast<void*>(address), &record_, sizeof record_);
}

DrawItemRecord RecordingPlatform::readDrawItem(LParam address) {
    record("RtlMoveMemory", {sizeof(DrawItemRecord)});
    DrawItemRecord copy;
    std::memcpy(&copy, reinterpret_cast<const void*>(address), sizeof copy);
    return copy;
}

bool RecordingPlatform::getNonClientMetrics(NonClientMetricsA& metrics, std::uint32_t dpi) {
    // At the base DPI the request reads as it always did; any other DPI is the last argument.
    if (dpi == kBaseDpi)
        record("SystemParametersInfoA", {win::SPI_GETNONCLIENTMETRICS, metrics.cbSize, 0});
    else
        record("SystemParametersInfoA", {win::SPI_GETNONCLIENTMETRICS, metrics.cbSize, 0, dpi});
    if (failing_.count("SystemParametersInfoA")) return false;
    metrics.lfMenuFont = menuFont_;
    // The menu font grows with the DPI, as the system scales it.
    metrics.lfMenuFont.lfHeight = scaledByDpi(menuFont_.lfHeight, dpi);
    return true;
}

int RecordingPlatform::threadDpiAwareness() {
    record("GetThreadDpiAwarenessContext");
    return static_cast<int>(result("GetThreadDpiAwarenessContext", awareness_));
}

std::intptr_t RecordingPlatform::setThreadDpiAwarenessContext(std::intptr_t context) {
    record("SetThreadDpiAwarenessContext", {context});
    const long long previous = result("SetThreadDpiAwarenessContext", threadContext_);
    if (previous != 0) threadContext_ = context;
    return static_cast<std::intptr_t>(previous);
}

std::uint32_t RecordingPlatform::dpiForWindow(Handle hwnd) {
    record("GetDpiForWindow", {hwnd});
    return static_cast<std::uint32_t>(result("GetDpiForWindow", windowDpi_));
}

std::uint32_t RecordingPlatform::dpiAtPoint(const Point& point) {
    record("GetDpiForMonitor", {point.x, point.y});
    return static_cast<std::uint32_t>(result("GetDpiForMonitor", monitorDpi_));
}

int RecordingPlatform::drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) {
    record("DrawTextW", {dc, static_cast<long long>(text.size()), rect.left, rect.top, rect.right, rect.bottom, format},
           std::u16string(text));
    if (format & win::DT_CALCRECT) {
        // Prefix processing as the real DrawText does it: '&' marks the next character and takes
        // no room, "&&" shows one ampersand; lines break at CR, LF and CR LF.
        std::int32_t lines = 1, widest = 0, current = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
                widest = std::max(widest, current);
                current = 0;
                ++lines;
            } else if (c == u'&') {
                if (i + 1 < text.size() && text[i + 1] == u'&') {
                    ++current;
                    ++i;
                }
            } else {
                ++current;
            }
        }
        widest = std::max(widest, current);
        rect.right = rect.left + widest * kCharWidth;
        rect.bottom = rect.top + lines * lineHeight_;
    }
    return static_cast<int>(result("DrawTextW", lineHeight_));
}

ColorRef RecordingPlatform::getSysColor(int index) {
    record("GetSysColor", {index});
    auto it = sysColors_.find(index);
    return it == sysColors_.end() ? 0 : it->second;
}

bool RecordingPlatform::highContrastOn() {
    record("SystemParametersInfoW", {win::SPI_GETHIGHCONTRAST});
    return result("SystemParametersInfoW", highContrast_ ? 1 : 0) != 0;
}

bool RecordingPlatform::drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) {
    record("DrawEdge", {dc, rect.left, rect.top, rect.right, rect.bottom, edge, flags});
    return result("DrawEdge", 1) != 0;
}

bool RecordingPlatform::drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y,
                                        std::uint32_t flags) {
    record("DrawStateW", {dc, bitmap, x, y, flags});
    return result("DrawStateW", 1) != 0;
}

Handle RecordingPlatform::createCompatibleDC(Handle dc) {
    const Handle h = static_cast<Handle>(result("CreateCompatibleDC", nextDC_));
    if (h == nextDC_) ++nextDC_;
    record("CreateCompatibleDC", {dc});
    if (h != 0) liveDCs_.insert(h);
    return h;
}

Handle RecordingPlatform::createDibSection(std::int32_t width, std::int32_t height, std::uint32_t*& bits) {
    const Handle h = newGdiObject('b', "CreateDIBSection");
    record("CreateDIBSection", {width, height});
    bits = nullptr;
    if (h != 0 && width > 0 && height > 0) {
        auto& dib = dibs_[h];
        dib.width = width;
        dib.height = height;
        dib.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        bits = dib.pixels.data();
    }
    return h;
}

void RecordingPlatform::gdiFlush() { record("GdiFlush"); }

Handle RecordingPlatform::selectObject(Handle dc, Handle object) {
    record("SelectObject", {dc, object});
    if (failing_.count("SelectObject") || object == 0) return 0;
    auto kind = kinds_.find(object);
    // Objects this platform did not make (the ones a test hands in, the stock objects a DC
    // starts with) count as fonts unless a test says otherwise.
    // A DC's own stock objects, handed back when a selection is undone, keep their kind.
    const bool stock = object == 0x9000 + 'b' || object == 0x9000 + 'f' || object == 0x9000 + 'p' ||
                       object == 0x9000 + 'r';
    const char k = kind != kinds_.end() ? kind->second : stock ? static_cast<char>(object - 0x9000) : 'f';
    Handle& slot = selected_[dc][k];
    const Handle previous = slot != 0 ? slot : static_cast<Handle>(0x9000 + k);  // the DC's stock object
    slot = object;
    return previous;
}

bool RecordingPlatform::deleteObject(Handle object) {
    record("DeleteObject", {object});
    for (const auto& [dc, slots] : selected_)
        for (const auto& [kind, selected] : slots)
            if (selected == object) deletedWhileSelected_.push_back(object);
    const bool wasLive = liveGdi_.erase(object) != 0;
    dibs_.erase(object);
    return result("DeleteObject", wasLive ? 1 : 0) != 0;
}

bool RecordingPlatform::deleteDC(Handle dc) {
    record("DeleteDC", {dc});
    const bool wasLive = liveDCs_.erase(dc) != 0;
    selected_.erase(dc);
    return result("DeleteDC", wasLive ? 1 : 0) != 0;
}

int RecordingPlatform::setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, const std::uint32_t* pixels) {
    record("SetDIBitsToDevice", {dc, x, y, width, height});
    ImageSetToDevice image{dc, x, y, width, height, {}};
    if (pixels != nullptr && width > 0 && height > 0)
        image.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    imagesSet_.push_back(std::move(image));
    return static_cast<int>(result("SetDIBitsToDevice", height));
}

Handle RecordingPlatform::createFontIndirect(const LogFontA& font) {
    fonts_.push_back(font);
    const Handle h = newGdiObject('f', "CreateFontIndirectA");
    record("CreateFontIndirectA");
    return h;
}

Handle RecordingPlatform::createPen(int style, int width, ColorRef color) {
    const Handle h = newGdiObject('p', "CreatePen");
    record("CreatePen", {style, width, color});
    return h;
}

Handle RecordingPlatform::createSolidBrush(ColorRef color) {
    const Handle h = newGdiObject('r', "CreateSolidBrush");
    record("CreateSolidBrush", {color});
    return h;
}

bool RecordingPlatform::rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right,
                                  std::int32_t bottom) {
    record("Rectangle", {dc, left, top, right, bottom});
    return result("Rectangle", 1) != 0;
}

ColorRef RecordingPlatform::setTextColor(Handle dc, ColorRef color) {
    record("SetTextColor", {dc, color});
    return static_cast<ColorRef>(result("SetTextColor", 0));
}

int RecordingPlatform::setBkMode(Handle dc, int mode) {
    record("SetBkMode", {dc, mode});
    return static_cast<int>(result("SetBkMode", 2));
}

// The glyph at its own size reads as it always did; any other size is the last argument.
bool RecordingPlatform::drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                       std::int32_t srcX, std::int32_t srcY, std::int32_t size, std::uint32_t rop) {
    if (size == kCheckGlyphSize)
        record("StretchDIBits", {dc, x, y, cx, cy, srcX, srcY, rop});
    else
        record("StretchDIBits", {dc, x, y, cx, cy, srcX, srcY, rop, size});
    return result("StretchDIBits", 1) != 0;
}

Handle RecordingPlatform::loadCheckBitmap(std::int32_t size) {
    const Handle h = newGdiObject('b', "LoadBitmapW");
    if (size == kCheckGlyphSize)
        record("LoadBitmapW");
    else
        record("LoadBitmapW", {size});
    return h;
}

bool RecordingPlatform::imageListGetIconSize(Handle imageList, std::int32_t& width, std::int32_t& height) {
    record("ImageList_GetIconSize", {imageList});
    if (failing_.count("ImageList_GetIconSize") || imageList == 0) return false;
    width = iconWidth_;
    height = iconHeight_;
    return true;
}

bool RecordingPlatform::imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                                      std::uint32_t style) {
    record("ImageList_Draw", {imageList, index, dc, x, y, style});
    return result("ImageList_Draw", imageList != 0 ? 1 : 0) != 0;
}

}  // namespace popupmenu::testing
