// How long an owner-drawn pop-up takes to open, against a native menu of the same labels and a
// minimal owner-drawn menu (the floor: what owner drawing costs by itself).
//
// Every menu has the same tree: N items, every tenth opening a submenu that holds the item after
// it. Each pop-up is timed from its start until the menu has been measured and painted and the menu
// loop is idle (the host window's first WM_ENTERIDLE, where the menu is closed at once):
//   native     the labels as plain text items, built and tracked the same way;
//   floor      owner-drawn items answered by the host's own window procedure: one
//              DrawTextW(DT_CALCRECT) per measure request in the menu font, selected once per
//              pop-up, and FillRect and DrawTextW per draw request;
//   ours cold  PopUp of a freshly filled collection (filled before the clock starts);
//   ours warm  PopUp again of the same, unchanged collection.
// The four alternate within every run, in the same process. Runs go on until the median of each
// has a spread under 3 % (half the width of its 95 % order-statistic interval, over the median),
// or until the run or time limit; each figure is shown as min / median / max.
//
// A second pass times the same pop-ups with a platform that timestamps our steps (and the floor's
// window procedure the same way), and shows where the time goes. A scale pass times the four
// against N up to 20,000 and can write them as CSV for the plot. Last, the GDI and USER objects and
// private bytes before and after many pop-ups, and the ratio lines (ours / native, medians).
//
// Usage: popup_bench [--sizes 10,100,1000,5000] [--runs 7] [--max-runs 61] [--budget 60]
//                    [--breakdown-runs 9] [--scale 10,...,20000] [--scale-runs 3] [--csv file]
//                    [--label text] [--leak-popups 10000] [--samples file]
// --samples writes every run's four times to that file as CSV (items, run, native, floor, cold,
// warm; ms), to look at their distribution. --scale runs the scale pass alone (with --csv, its
// medians go to that file), and shows where the time goes at its largest size.

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/NuvraPopUpMenu.h"
#include "hostsupport/GuiObjects.h"
#include "model/MenuItems.h"
#include "platform/win32/Win32Platform.h"

using namespace popupmenu;

namespace {

// --- clock ---

double now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// --- the menu every contestant shows ---

struct Entry {
    std::wstring label;
    int parent = 0;             // 1-based index of the item whose submenu holds it; 0: top level
    bool opensSubmenu = false;
};
using Shape = std::vector<Entry>;  // index 0 unused

Shape shapeOf(int count) {
    Shape shape(count + 1);
    for (int i = 1; i <= count; ++i) {
        shape[i].label = L"Item " + std::to_wstring(i) + L" of the menu";
        if (i % 10 == 1 && i > 1) {
            shape[i].parent = i - 1;
            shape[i - 1].opensSubmenu = true;
        }
    }
    return shape;
}

std::u16string u16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

std::u16string keyOf(int i) {
    const std::wstring key = L"k" + std::to_wstring(i);
    return u16(key);
}

// Our collection of the shape: plain, checked, disabled with a picture, and with a picture, in turn.
void fillMenu(MenuItems& items, const Shape& shape) {
    items.Clear();
    for (int i = 1; i < static_cast<int>(shape.size()); ++i) {
        const Value parent = shape[i].parent ? Value::string(keyOf(shape[i].parent)) : Value::missing();
        Ref<MenuItem> item = items.Add(Value::string(keyOf(i)), u16(shape[i].label), parent);
        switch (i % 4) {
            case 1: item->setChecked(MenuItem::True); break;
            case 2:
                item->setEnabled(MenuItem::False);
                item->setNormalPictureIndex(i % 4);
                break;
            case 3: item->setNormalPictureIndex(i % 4); break;
            default: break;
        }
    }
}

// --- where the time goes: one pop-up's timeline ---

enum Category { Measure, Draw, Forward, OtherRouting, kCategories };

struct Timeline {
    bool on = false;
    double start = 0, lastAppend = 0, trackEntered = 0, firstRequest = 0, lastRequestEnd = 0, idle = 0;
    double sums[kCategories] = {};
    double atFirstRequest[kCategories] = {};  // the sums when the first request started
    double atLastRequest[kCategories] = {};   // and when the last one ended
    bool sawRequest = false;

    // Timed intervals nest (a message the previous procedure sends re-enters the hook): each
    // category gets its exclusive time.
    struct Frame {
        Category category;
        double start, children;
    };
    std::vector<Frame> frames;

    void reset() { *this = Timeline{}; }
    void push(Category category, double at) {
        if (category == Measure || category == Draw) {
            if (!sawRequest) {
                firstRequest = at;
                std::copy(std::begin(sums), std::end(sums), atFirstRequest);
            }
            sawRequest = true;
        }
        frames.push_back({category, at, 0});
    }
    void pop(double at) {
        const Frame frame = frames.back();
        frames.pop_back();
        const double duration = at - frame.start;
        sums[frame.category] += duration - frame.children;
        if (!frames.empty()) frames.back().children += duration;
        if (frame.category == Measure || frame.category == Draw) {
            lastRequestEnd = at;
            std::copy(std::begin(sums), std::end(sums), atLastRequest);
        }
    }
    double between(Category c) const { return atLastRequest[c] - atFirstRequest[c]; }
};

Timeline g_timeline;

// The phases shown, in order; each pop-up's phases add up to its whole time.
const char* const kPhases[] = {
    "building the menu",
    "owner, DC, font, hook",
    "TrackPopupMenu to 1st request",
    "measure requests (handler)",
    "draw requests (handler)",
    "previous procedure",
    "other messages (hook)",
    "menu loop between requests",
    "after the last request",
    "total",
};
constexpr int kPhaseCount = sizeof kPhases / sizeof kPhases[0];

std::vector<double> phasesOf(const Timeline& t) {
    std::vector<double> p(kPhaseCount, 0);
    p[0] = t.lastAppend - t.start;
    p[1] = t.trackEntered - t.lastAppend;
    if (!t.sawRequest) {  // the native menu: no request reaches the host
        p[2] = t.idle - t.trackEntered;
    } else {
        p[2] = t.firstRequest - t.trackEntered;
        p[3] = t.sums[Measure];
        p[4] = t.sums[Draw];
        p[5] = t.between(Forward);
        p[6] = t.between(OtherRouting);
        p[7] = (t.lastRequestEnd - t.firstRequest) - p[3] - p[4] - p[5] - p[6];
        p[8] = t.idle - t.lastRequestEnd;
    }
    p[9] = t.idle - t.start;
    return p;
}

// Our platform with timestamps: the end of the build, the start of tracking, and every message
// the hook routes and forwards.
MessageHandler g_libraryHandler = nullptr;

LResult timedHandler(Handle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) {
    if (!g_timeline.on) return g_libraryHandler(hwnd, msg, wParam, lParam);
    const Category category =
        msg == WM_MEASUREITEM ? Measure : (msg == WM_DRAWITEM && wParam == 0 ? Draw : OtherRouting);
    g_timeline.push(category, now());
    const LResult result = g_libraryHandler(hwnd, msg, wParam, lParam);
    g_timeline.pop(now());
    return result;
}

class TimingPlatform : public Win32Platform {
public:
    bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t id, std::uintptr_t itemData) override {
        const bool ok = Win32Platform::appendMenu(menu, flags, id, itemData);
        if (g_timeline.on) g_timeline.lastAppend = now();
        return ok;
    }
    std::int32_t trackPopupMenu(Handle menu, std::uint32_t flags, std::int32_t x, std::int32_t y,
                                Handle owner) override {
        if (g_timeline.on) g_timeline.trackEntered = now();
        return Win32Platform::trackPopupMenu(menu, flags, x, y, owner);
    }
    ProcValue windowProcedureFor(MessageHandler handler) override {
        g_libraryHandler = handler;
        return Win32Platform::windowProcedureFor(&timedHandler);
    }
    // The routing of a message ends where the hook hands it to the previous procedure; what the
    // hook does after that (the access letters' answer) is routing again.
    LResult callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                LParam lParam) override {
        if (!g_timeline.on || g_timeline.frames.empty())
            return Win32Platform::callWindowProcedure(procedure, hwnd, msg, wParam, lParam);
        g_timeline.pop(now());
        g_timeline.push(Forward, now());
        const LResult result = Win32Platform::callWindowProcedure(procedure, hwnd, msg, wParam, lParam);
        g_timeline.pop(now());
        // What the hook does after forwarding (the access letters' answer) is routing of another
        // kind: only the part before marks a request's start and end.
        g_timeline.push(OtherRouting, now());
        return result;
    }
};

// --- the host window: sees the menu go idle, and is the floor's owner-draw handler ---

bool g_sawIdle = false;
double g_idleAt = 0;

struct Floor {
    bool active = false;
    HDC dc = nullptr;
    const Shape* shape = nullptr;
    HBRUSH menuBrush = nullptr, highlightBrush = nullptr;
} g_floor;

LRESULT floorMeasure(MEASUREITEMSTRUCT& measure) {
    const std::wstring& label = (*g_floor.shape)[measure.itemData].label;
    RECT extent{0, 0, 0, 0};
    DrawTextW(g_floor.dc, label.c_str(), static_cast<int>(label.size()), &extent, DT_CALCRECT);
    measure.itemWidth = extent.right + 30;
    measure.itemHeight = extent.bottom + 7;
    return TRUE;
}

LRESULT floorDraw(const DRAWITEMSTRUCT& draw) {
    const std::wstring& label = (*g_floor.shape)[draw.itemData].label;
    FillRect(draw.hDC, &draw.rcItem, (draw.itemState & ODS_SELECTED) ? g_floor.highlightBrush : g_floor.menuBrush);
    RECT area{draw.rcItem.left + 23, draw.rcItem.top + 3, draw.rcItem.right, draw.rcItem.top + 23};
    DrawTextW(draw.hDC, label.c_str(), static_cast<int>(label.size()), &area, 0);
    return TRUE;
}

// The host window's own procedure: the library passes every message on to it, so it sees the
// menu loop go idle exactly as it would without the library.
LRESULT CALLBACK hostProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !g_sawIdle) {
        g_idleAt = now();
        g_sawIdle = true;
        EndMenu();
        return 0;
    }
    if (g_floor.active && (msg == WM_MEASUREITEM || (msg == WM_DRAWITEM && wParam == 0))) {
        const bool timed = g_timeline.on;
        if (timed) g_timeline.push(msg == WM_MEASUREITEM ? Measure : Draw, now());
        const LRESULT result = msg == WM_MEASUREITEM ? floorMeasure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))
                                                     : floorDraw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        if (timed) g_timeline.pop(now());
        return result;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND makeHostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PopUpMenuBenchHost";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                wc.hInstance, nullptr);
    SetForegroundWindow(hwnd);
    return hwnd;
}

HIMAGELIST makeImageList() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 4; ++i) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT r{0, 0, 16, 16};
        HBRUSH brush = CreateSolidBrush(RGB(60 * i, 200 - 40 * i, 120));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteDC(dc);
        ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return list;
}

// --- the contestants; each returns its seconds, or -1 when the menu never went idle ---

// The native menus of the shape: text items, or owner-drawn ones whose item data is their index.
HMENU buildNativeMenu(const Shape& shape, bool ownerDrawn) {
    HMENU root = CreatePopupMenu();
    std::vector<HMENU> submenus(shape.size(), nullptr);
    for (std::size_t i = 1; i < shape.size(); ++i) {
        const Entry& e = shape[i];
        HMENU parent = e.parent ? submenus[e.parent] : root;
        const UINT kind = ownerDrawn ? MF_OWNERDRAW : MF_STRING;
        const LPCWSTR content = ownerDrawn ? reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(i)) : e.label.c_str();
        if (e.opensSubmenu) {
            submenus[i] = CreatePopupMenu();
            AppendMenuW(parent, kind | MF_POPUP, reinterpret_cast<UINT_PTR>(submenus[i]), content);
        } else {
            AppendMenuW(parent, kind, i, content);
        }
    }
    g_timeline.lastAppend = now();
    return root;
}

double finish(double start) { return g_sawIdle ? g_idleAt - start : -1; }

void startClock(HWND host, double& start) {
    SetForegroundWindow(host);
    g_sawIdle = false;
    start = now();
    g_timeline.start = start;
}

double timeNative(const Shape& shape, HWND host) {
    double start;
    startClock(host, start);
    HMENU menu = buildNativeMenu(shape, false);
    POINT cursor;
    GetCursorPos(&cursor);
    g_timeline.trackEntered = now();
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, host, nullptr);
    DestroyMenu(menu);
    return finish(start);
}

double timeFloor(const Shape& shape, HWND host) {
    double start;
    startClock(host, start);
    HMENU menu = buildNativeMenu(shape, true);
    g_floor.dc = GetDC(host);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HGDIOBJ oldFont = SelectObject(g_floor.dc, font);
    g_floor.shape = &shape;
    g_floor.active = true;
    POINT cursor;
    GetCursorPos(&cursor);
    g_timeline.trackEntered = now();
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, host, nullptr);
    g_floor.active = false;
    DestroyMenu(menu);
    SelectObject(g_floor.dc, oldFont);
    DeleteObject(font);
    ReleaseDC(host, g_floor.dc);
    return finish(start);
}

double timeOurs(NuvraPopUpMenu& component, HWND host) {
    double start;
    startClock(host, start);
    component.PopUp();
    return finish(start);
}

// --- statistics ---

struct Summary {
    double min = 0, median = 0, max = 0, spread = 0;  // spread: relative half-width of the median's interval
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    Summary s;
    s.min = values.front();
    s.max = values.back();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    // The 95 % interval of the median from order statistics: ranks n/2 -+ 0.98 sqrt(n).
    const double half = 0.98 * std::sqrt(static_cast<double>(n));
    const auto lo = static_cast<std::size_t>(std::max(0.0, std::floor(n / 2.0 - half)));
    const auto hi = static_cast<std::size_t>(std::min(static_cast<double>(n - 1), std::ceil(n / 2.0 - 1 + half)));
    s.spread = s.median > 0 ? (values[hi] - values[lo]) / (2 * s.median) : 0;
    return s;
}

enum Contestant { Native, FloorMenu, Cold, Warm, kContestants };
const char* const kNames[] = {"native", "floor", "ours cold", "ours warm"};

struct Contest {
    NuvraPopUpMenu& component;
    MenuItems& items;
    HWND host;
};

// One run of the four, in an order that turns with the run so that none always follows another.
// The cold pop-up's collection is filled before its clock starts; the warm one shows it again.
bool runOnce(Contest& c, const Shape& shape, int run, double (&seconds)[kContestants]) {
    const Contestant orders[2][kContestants] = {{Native, FloorMenu, Cold, Warm}, {FloorMenu, Cold, Warm, Native}};
    for (const Contestant who : orders[run % 2]) {
        switch (who) {
            case Native: seconds[who] = timeNative(shape, c.host); break;
            case FloorMenu: seconds[who] = timeFloor(shape, c.host); break;
            case Cold:
                fillMenu(c.items, shape);
                seconds[who] = timeOurs(c.component, c.host);
                break;
            case Warm: seconds[who] = timeOurs(c.component, c.host); break;
            default: break;
        }
        if (seconds[who] < 0) return false;
    }
    return true;
}

struct Measured {
    int size = 0, runs = 0;
    Summary of[kContestants];
    bool settled = false;  // every spread under the target
};

FILE* g_samples = nullptr;  // --samples: every run's four times, as CSV

Measured measure(Contest& c, int size, int minRuns, int maxRuns, double budget, double target) {
    const Shape shape = shapeOf(size);
    double warmUp[kContestants];
    runOnce(c, shape, 0, warmUp);
    std::vector<double> samples[kContestants];
    Measured m;
    m.size = size;
    const double began = now();
    for (int run = 0; run < maxRuns; ++run) {
        double seconds[kContestants];
        if (!runOnce(c, shape, run, seconds)) {
            std::printf("%8d: a menu never went idle (is a display attached?)\n", size);
            std::exit(1);
        }
        for (int k = 0; k < kContestants; ++k) samples[k].push_back(seconds[k] * 1000);
        if (g_samples != nullptr)
            std::fprintf(g_samples, "%d,%d,%.3f,%.3f,%.3f,%.3f\n", size, run, seconds[Native] * 1000,
                         seconds[FloorMenu] * 1000, seconds[Cold] * 1000, seconds[Warm] * 1000);
        m.runs = run + 1;
        if (m.runs < minRuns) continue;
        m.settled = true;
        for (int k = 0; k < kContestants; ++k) {
            m.of[k] = summarize(samples[k]);
            if (m.of[k].spread >= target) m.settled = false;
        }
        if (m.settled || now() - began > budget) break;
    }
    return m;
}

std::vector<int> parseSizes(const char* text) {
    std::vector<int> sizes;
    for (const char* p = text; *p;) {
        sizes.push_back(std::atoi(p));
        p = std::strchr(p, ',');
        if (!p) break;
        ++p;
    }
    return sizes;
}

long privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage at 0; PagefileUsage is the same private commit charge there.
    return static_cast<long>(counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage);
}

void printTimes(const std::vector<Measured>& rows, double target) {
    std::printf("%7s %5s", "items", "runs");
    for (const char* name : kNames) std::printf(" %25s", name);
    std::printf(" %11s %11s %10s\n", "cold/native", "warm/native", "cold/floor");
    std::printf("%7s %5s", "", "");
    for (int k = 0; k < kContestants; ++k) std::printf(" %25s", "min / median / max  ±%");
    std::printf("\n");
    for (const Measured& m : rows) {
        std::printf("%7d %5d", m.size, m.runs);
        for (const Summary& s : m.of) {
            char cell[64];
            std::snprintf(cell, sizeof cell, "%.2f / %.2f / %.2f %4.1f", s.min, s.median, s.max, s.spread * 100);
            std::printf(" %25s", cell);
        }
        std::printf(" %11.2f %11.2f %10.2f%s\n", m.of[Cold].median / m.of[Native].median,
                    m.of[Warm].median / m.of[Native].median, m.of[Cold].median / m.of[FloorMenu].median,
                    m.settled ? "" : "  (spread target not reached)");
    }
    std::printf("(ms; ±%%: the median's spread, half its 95 %% interval over the median; target %.0f %%)\n",
                target * 100);
}

void printBreakdown(Contest& c, int size, int runs) {
    const Shape shape = shapeOf(size);
    std::vector<double> phases[kContestants][kPhaseCount];
    for (int run = 0; run < runs; ++run) {
        for (int k = 0; k < kContestants; ++k) {
            if (k == Cold) fillMenu(c.items, shape);
            g_timeline.reset();
            g_timeline.on = true;
            const double seconds = k == Native      ? timeNative(shape, c.host)
                                   : k == FloorMenu ? timeFloor(shape, c.host)
                                                    : timeOurs(c.component, c.host);
            g_timeline.idle = g_idleAt;
            g_timeline.on = false;
            if (seconds < 0) std::exit(1);
            const std::vector<double> p = phasesOf(g_timeline);
            for (int i = 0; i < kPhaseCount; ++i) phases[k][i].push_back(p[i] * 1000);
        }
    }
    std::printf("\nWhere the time goes, N = %d (ms, median of %d runs with timestamps; for the native menu the\n"
                "third phase is the whole menu loop)\n", size, runs);
    std::printf("%-32s", "phase");
    for (const char* name : kNames) std::printf(" %10s", name);
    std::printf("\n");
    for (int i = 0; i < kPhaseCount; ++i) {
        std::printf("%-32s", kPhases[i]);
        for (int k = 0; k < kContestants; ++k) {
            const bool none = (k == Native && i > 2 && i < kPhaseCount - 1) || (k != Cold && k != Warm && (i == 5 || i == 6));
            if (none)
                std::printf(" %10s", "-");
            else
                std::printf(" %10.2f", summarize(phases[k][i]).median);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes{10, 100, 1000, 5000};
    std::vector<int> scale;
    int minRuns = 7, maxRuns = 61, breakdownRuns = 9, scaleRuns = 3, leakPopups = 10000;
    double budget = 60;
    const double target = 0.03;
    const char* csv = nullptr;
    const char* label = "";
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* arg = argv[i];
        const char* value = argv[i + 1];
        if (!std::strcmp(arg, "--sizes")) sizes = parseSizes(value);
        if (!std::strcmp(arg, "--runs")) minRuns = std::max(1, std::atoi(value));
        if (!std::strcmp(arg, "--max-runs")) maxRuns = std::max(1, std::atoi(value));
        if (!std::strcmp(arg, "--budget")) budget = std::atof(value);
        if (!std::strcmp(arg, "--breakdown-runs")) breakdownRuns = std::max(0, std::atoi(value));
        if (!std::strcmp(arg, "--scale")) scale = parseSizes(value);
        if (!std::strcmp(arg, "--scale-runs")) scaleRuns = std::max(1, std::atoi(value));
        if (!std::strcmp(arg, "--csv")) csv = value;
        if (!std::strcmp(arg, "--label")) label = value;
        if (!std::strcmp(arg, "--samples")) g_samples = std::fopen(value, "w");
        if (!std::strcmp(arg, "--leak-popups")) leakPopups = std::max(0, std::atoi(value));
    }
    maxRuns = std::max(maxRuns, minRuns);

    TimingPlatform platform;
    HWND host = makeHostWindow();
    HIMAGELIST images = makeImageList();
    g_floor.menuBrush = GetSysColorBrush(COLOR_MENU);
    g_floor.highlightBrush = GetSysColorBrush(COLOR_HIGHLIGHT);
    Ref<NuvraPopUpMenu> component(new NuvraPopUpMenu(platform));
    component->setHImageList(Win32Platform::portable(images));
    Ref<MenuItems> items = component->MenuItems();
    Contest contest{*component, *items, host};

    if (!scale.empty()) {
        std::vector<Measured> rows;
        for (const int size : scale) {
            rows.push_back(measure(contest, size, scaleRuns, scaleRuns, 0, target));
            std::printf("%8d items: native %9.2f  floor %9.2f  ours cold %9.2f  ours warm %9.2f ms\n", size,
                        rows.back().of[Native].median, rows.back().of[FloorMenu].median, rows.back().of[Cold].median,
                        rows.back().of[Warm].median);
            std::fflush(stdout);
        }
        // What dominates at the top of the range.
        if (breakdownRuns > 0) printBreakdown(contest, scale.back(), std::min(breakdownRuns, scaleRuns));
        if (csv != nullptr) {
            FILE* out = std::fopen(csv, "w");
            if (out == nullptr) return 1;
            std::fprintf(out, "build,items,native,floor,cold,warm\n");
            for (const Measured& m : rows)
                std::fprintf(out, "%s,%d,%.3f,%.3f,%.3f,%.3f\n", label, m.size, m.of[Native].median,
                             m.of[FloorMenu].median, m.of[Cold].median, m.of[Warm].median);
            std::fclose(out);
        }
    } else {
        std::vector<Measured> rows;
        for (const int size : sizes) rows.push_back(measure(contest, size, minRuns, maxRuns, budget, target));
        printTimes(rows, target);
        std::fflush(stdout);
        if (breakdownRuns > 0)
            for (const int size : sizes) printBreakdown(contest, size, breakdownRuns);

        if (leakPopups > 0) {
            fillMenu(*items, shapeOf(10));
            timeOurs(*component, host);
            const hostsupport::GuiObjects before = hostsupport::countGuiObjects();
            const long bytesBefore = privateBytes();
            for (int i = 0; i < leakPopups; ++i) timeOurs(*component, host);
            const hostsupport::GuiObjects after = hostsupport::countGuiObjects();
            const long bytesAfter = privateBytes();
            std::printf("\nafter %d pop-ups of 10 items (counted with %s):\n", leakPopups, after.source);
            std::printf("  GDI objects  %8ld -> %8ld (%+ld)\n", before.gdi, after.gdi, after.gdi - before.gdi);
            std::printf("  USER objects %8ld -> %8ld (%+ld)\n", before.user, after.user, after.user - before.user);
            std::printf("  private KiB  %8ld -> %8ld (%+ld)\n", bytesBefore / 1024, bytesAfter / 1024,
                        (bytesAfter - bytesBefore) / 1024);
        }

        std::printf("\n");
        for (const Measured& m : rows)
            std::printf("warm ratio N=%d: %.2f\n", m.size, m.of[Warm].median / m.of[Native].median);
        for (const Measured& m : rows)
            std::printf("ratio N=%d: %.2f\n", m.size, m.of[Cold].median / m.of[Native].median);
    }

    items = nullptr;
    component = nullptr;
    ImageList_Destroy(images);
    DestroyWindow(host);
    if (g_samples != nullptr) std::fclose(g_samples);
    return 0;
}
