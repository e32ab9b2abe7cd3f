#pragma once
// A platform that records every call with its arguments, returns scripted results and can make
// any operation fail. Tests compare the recorded calls as a whole:
//
//     EXPECT_EQ(platform.calls(), (Calls{{"CreatePopupMenu"}, {"GetForegroundWindow"}, {"GetDC", {owner}}}));
//
// Handles it makes are distinct per kind (menus 0x1000.., device contexts 0x2000.., GDI objects
// 0x3000.., windows 0x4000..), and it tracks which GDI objects are alive and which object each
// device context holds, so tests can check that everything made is released in the right order.

#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/ScaledGlyph.h"

namespace popupmenu::testing {

struct Call {
    std::string name;
    std::vector<long long> args;
    std::u16string text;

    Call(std::string n, std::vector<long long> a = {}, std::u16string t = {})
        : name(std::move(n)), args(std::move(a)), text(std::move(t)) {}
    friend bool operator==(const Call&, const Call&) = default;
};
using Calls = std::vector<Call>;
void PrintTo(const Call& call, std::ostream* out);
std::ostream& operator<<(std::ostream& out, const Call& call);
std::string toUtf8(std::u16string_view text);

struct MessageBoxShown {
    std::u16string text;
    std::u16string caption;
    std::uint32_t style;
};

// An image handed to setDIBitsToDevice: where it went and a copy of its pixels (0x00RRGGBB, rows
// of `width` pixels from the top).
struct ImageSetToDevice {
    Handle dc;
    std::int32_t x, y, width, height;
    std::vector<std::uint32_t> pixels;
};

struct AppendedItem {
    std::uint32_t flags;
    std::int32_t id;
    std::uintptr_t itemData;
};

class RecordingPlatform : public Platform {
public:
    RecordingPlatform();

    // --- what happened ---
    const Calls& calls() const { return calls_; }
    Calls callsNamed(const std::set<std::string>& names) const;  // in order, only those names
    std::size_t countOf(const std::string& name) const;
    // Forgets the calls recorded so far, and the images that came with them.
    void clearCalls() {
        calls_.clear();
        imagesSet_.clear();
    }
    const std::vector<MessageBoxShown>& messageBoxes() const { return boxes_; }
    // Items appended to a menu made by createPopupMenu, in order.
    const std::vector<AppendedItem>& menuItems(Handle menu) const;
    std::set<Handle> liveMenus() const { return liveMenus_; }
    std::set<Handle> liveGdiObjects() const { return liveGdi_; }  // pens, brushes, fonts, bitmaps
    std::set<Handle> liveMemoryDCs() const { return liveDCs_; }
    // Objects deleted while a device context still had them selected (a fault).
    const std::vector<Handle>& deletedWhileSelected() const { return deletedWhileSelected_; }
    Handle selectedIn(Handle dc, char kind) const;  // kind: 'f' font, 'b' bitmap, 'p' pen, 'r' brush

    // --- scripting ---
    // Every later call of `op` (the Win32 name, e.g. "CreatePopupMenu") returns `value`.
    void setResult(const std::string& op, long long value) { fixed_[op] = value; }
    // The next call of `op` returns `value` (queued results come before a fixed one).
    void queueResult(const std::string& op, long long value) { queued_[op].push_back(value); }
    // `op` fails from now on: it returns 0 (a null handle, FALSE).
    void fail(const std::string& op) { failing_.insert(op); }
    void setSysColor(int index, ColorRef color) { sysColors_[index] = color; }
    void setHighContrast(bool on) { highContrast_ = on; }
    void setForeground(Handle hwnd) { foreground_ = hwnd; }
    void setWindowThread(Handle hwnd, std::uint32_t threadId) { windowThreads_[hwnd] = threadId; }
    void setMenuFont(const LogFontA& font) { menuFont_ = font; }
    // The height of a line that drawText measures (kLineHeight unless set).
    void setLineHeight(std::int32_t height) { lineHeight_ = height; }
    void setIconSize(std::int32_t width, std::int32_t height) { iconWidth_ = width, iconHeight_ = height; }
    // DPI: the thread's awareness (win::AWARENESS_*, per-monitor aware unless set, as under Wine),
    // the DPI that windows and monitors report (96 unless set), and the thread's awareness context
    // as setThreadDpiAwarenessContext leaves it (kThreadOwnContext at first).
    void setThreadAwareness(int awareness) { awareness_ = awareness; }
    void setWindowDpi(std::uint32_t dpi) { windowDpi_ = dpi; }
    void setMonitorDpi(std::uint32_t dpi) { monitorDpi_ = dpi; }
    std::intptr_t threadDpiContext() const { return threadContext_; }
    static constexpr std::intptr_t kThreadOwnContext = 0x11;
    static constexpr std::uint32_t kBaseDpi = 96;
    // A size at a DPI, rounded as MulDiv rounds.
    static std::int32_t scaledByDpi(std::int32_t size, std::uint32_t dpi) {
        const long long product = static_cast<long long>(size) * dpi;
        return static_cast<std::int32_t>(product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96));
    }
    // The highlighted item of a menu (a 0-based position, -1 for none), as the user's pointer or
    // keyboard would leave it; hiliteMenuItem moves it as well. getMenuItem reports it as MFS_HILITE.
    void setHighlighted(Handle menu, int position) { highlighted_[menu] = position; }
    int highlighted(Handle menu) const;
    // Runs inside trackPopupMenu, as the platform's modal loop would: it may deliver messages
    // to the hook (see deliver) and returns the chosen command.
    std::function<std::int32_t(Handle menu, Handle owner)> onTrack;
    // Runs at the start of every destroyMenu, while the menu and its items still exist.
    std::function<void(Handle menu)> onDestroyMenu;
    // Runs for every callWindowProcedure; its result is returned (default 0x5A5A).
    std::function<LResult(ProcValue, Handle, std::uint32_t, WParam, LParam)> onCallWindowProcedure;
    // Calls the window procedure the library installed on `hwnd` (through windowProcedureFor).
    LResult deliver(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam);
    MessageHandler handler() const { return handler_; }
    ProcValue procedureOf(Handle hwnd) const;
    // The images handed to setDIBitsToDevice, in order.
    const std::vector<ImageSetToDevice>& imagesSetToDevice() const { return imagesSet_; }
    // The pixels of a DIB section made by createDibSection.
    std::vector<std::uint32_t>& dibPixels(Handle bitmap) { return dibs_.at(bitmap).pixels; }

    // The value windowProcedureFor hands out, and the window procedure every window starts with.
    static constexpr ProcValue kHookProcedure = 0x7000;
    static constexpr ProcValue kOriginalProcedure = 0x6000;
    static constexpr Handle kForegroundWindow = 0x4000;
    static constexpr std::uint32_t kThreadId = 77;
    // Text metrics of drawText with DT_CALCRECT: each visible character is this wide, each line this high.
    static constexpr std::int32_t kCharWidth = 7, kLineHeight = 16;

    // --- Platform ---
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
    int threadDpiAwareness() override;
    std::intptr_t setThreadDpiAwarenessContext(std::intptr_t context) override;
    std::uint32_t dpiForWindow(Handle hwnd) override;
    std::uint32_t dpiAtPoint(const Point& point) override;
    int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) override;
    ColorRef getSysColor(int index) override;
    bool highContrastOn() override;
    bool drawEdge(Handle dc, const Rect& rect, std::uint32_t edge, std::uint32_t flags) override;
    bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y, std::uint32_t flags) override;
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

    // The font descriptions passed to createFontIndirect, in order.
    const std::vector<LogFontA>& fontsCreated() const { return fonts_; }

private:
    void record(std::string name, std::vector<long long> args = {}, std::u16string text = {});
    // The scripted result of `op`, or `fallback` when nothing is scripted; 0 when `op` fails.
    long long result(const std::string& op, long long fallback);
    Handle newGdiObject(char kind, const std::string& op);

    struct Dib {
        std::int32_t width = 0, height = 0;
        std::vector<std::uint32_t> pixels;
    };

    Calls calls_;
    std::vector<MessageBoxShown> boxes_;
    std::map<std::string, long long> fixed_;
    std::map<std::string, std::vector<long long>> queued_;
    std::set<std::string> failing_;
    std::map<int, ColorRef> sysColors_;
    bool highContrast_ = false;
    std::map<Handle, std::vector<AppendedItem>> menus_;
    std::set<Handle> liveMenus_;
    std::map<Handle, int> highlighted_;
    std::set<Handle> liveGdi_;
    std::set<Handle> liveDCs_;
    std::map<Handle, char> kinds_;
    std::map<Handle, std::map<char, Handle>> selected_;  // dc -> kind -> object
    std::vector<Handle> deletedWhileSelected_;
    std::map<Handle, ProcValue> procedures_;
    std::map<Handle, std::uint32_t> windowThreads_;
    std::map<Handle, Dib> dibs_;
    std::vector<ImageSetToDevice> imagesSet_;
    std::vector<LogFontA> fonts_;
    MessageHandler handler_ = nullptr;
    Handle foreground_ = kForegroundWindow;
    LogFontA menuFont_;
    std::int32_t iconWidth_ = 16, iconHeight_ = 16;
    std::int32_t lineHeight_ = kLineHeight;
    int awareness_ = win::AWARENESS_PER_MONITOR_AWARE;
    std::uint32_t windowDpi_ = kBaseDpi, monitorDpi_ = kBaseDpi;
    std::intptr_t threadContext_ = kThreadOwnContext;
    Handle nextMenu_ = 0x1000, nextDC_ = 0x2000, nextGdi_ = 0x3000, nextWindow_ = 0x4100;
};

}  // namespace popupmenu::testing
