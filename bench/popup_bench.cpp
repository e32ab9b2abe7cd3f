// How long an owner-drawn pop-up takes to open, against a native menu of the same labels.
//
// For each size N the same process measures, in the same run:
//   ours    from the PopUp call until the menu has been measured and painted and the menu loop
//           is idle (the owner window's first WM_ENTERIDLE, where the menu is closed at once);
//   native  a menu of the same N labels as plain text items, built and tracked the same way.
// Each figure is the median of repeated runs. Last, the process's GDI and USER object counts and
// private bytes before and after many pop-ups show that nothing accumulates.
//
// Usage: popup_bench [--sizes 10,100,1000,5000] [--runs 15] [--leak-popups 10000]

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hostsupport/GuiObjects.h"
#include "engine/NuvraPopUpMenu.h"
#include "model/MenuItems.h"
#include "platform/win32/Win32Platform.h"

using namespace popupmenu;

namespace {

LARGE_INTEGER g_idleAt{};
bool g_sawIdle = false;

// The host window's own procedure: the library passes every message on to it, so it sees the
// menu loop go idle exactly as it would without the library.
LRESULT CALLBACK hostProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !g_sawIdle) {
        QueryPerformanceCounter(&g_idleAt);
        g_sawIdle = true;
        EndMenu();
        return 0;
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

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string keyOf(int i) {
    std::string key = "k";
    key += std::to_string(i);
    return u16(key);
}

std::string labelOf(int i) {
    std::string label = "Item ";
    label += std::to_string(i);
    return label + " of the menu";
}

// N items: plain, checked, disabled with a picture, and with a picture, in turn; every tenth
// item opens a submenu holding the item after it (one level of submenus).
void fillMenu(MenuItems& items, int count) {
    items.Clear();
    for (int i = 1; i <= count; ++i) {
        const bool child = i % 10 == 1 && i > 1;
        const Value parent = child ? Value::string(keyOf(i - 1)) : Value::missing();
        Ref<MenuItem> item = items.Add(Value::string(keyOf(i)), u16(labelOf(i)), parent);
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

double secondsBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double timeOurs(NuvraPopUpMenu& component, HWND host) {
    SetForegroundWindow(host);
    g_sawIdle = false;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    component.PopUp();
    return g_sawIdle ? secondsBetween(start, g_idleAt) : -1;
}

double timeNative(int count, HWND host) {
    SetForegroundWindow(host);
    g_sawIdle = false;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HMENU menu = CreatePopupMenu();
    for (int i = 1; i <= count; ++i) {
        const std::string label = labelOf(i);
        const std::wstring wide(label.begin(), label.end());
        AppendMenuW(menu, MF_STRING, i, wide.c_str());
    }
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, host, nullptr);
    DestroyMenu(menu);
    return g_sawIdle ? secondsBetween(start, g_idleAt) : -1;
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

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes{10, 100, 1000, 5000};
    int runs = 15;
    int leakPopups = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--sizes")) sizes = parseSizes(argv[i + 1]);
        if (!std::strcmp(argv[i], "--runs")) runs = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--leak-popups")) leakPopups = std::max(0, std::atoi(argv[i + 1]));
    }

    Win32Platform platform;
    HWND host = makeHostWindow();
    HIMAGELIST images = makeImageList();
    Ref<NuvraPopUpMenu> component(new NuvraPopUpMenu(platform));
    component->setHImageList(Win32Platform::portable(images));
    Ref<MenuItems> items = component->MenuItems();

    struct Row {
        int size;
        double ours, native;
    };
    std::vector<Row> rows;
    std::printf("%8s %6s %14s %14s %8s\n", "items", "runs", "ours (ms)", "native (ms)", "ratio");
    for (const int size : sizes) {
        fillMenu(*items, size);
        std::vector<double> ours, native;
        // One warm-up of each, then alternate so that both see the same machine state.
        timeOurs(*component, host);
        timeNative(size, host);
        const int n = size >= 5000 ? std::max(3, runs / 3) : runs;
        for (int r = 0; r < n; ++r) {
            ours.push_back(timeOurs(*component, host));
            native.push_back(timeNative(size, host));
        }
        if (std::count(ours.begin(), ours.end(), -1.0) || std::count(native.begin(), native.end(), -1.0)) {
            std::printf("%8d: a menu never went idle (is a display attached?)\n", size);
            return 1;
        }
        const Row row{size, median(ours) * 1000, median(native) * 1000};
        rows.push_back(row);
        std::printf("%8d %6d %14.2f %14.2f %8.2f\n", size, n, row.ours, row.native, row.ours / row.native);
        std::fflush(stdout);
    }

    if (leakPopups > 0) {
        fillMenu(*items, 10);
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
    for (const Row& row : rows) std::printf("ratio N=%d: %.2f\n", row.size, row.ours / row.native);

    items = nullptr;
    component = nullptr;
    ImageList_Destroy(images);
    DestroyWindow(host);
    return 0;
}
