// The demo's desktop host: a window of its own, an image list made from demo/pictures.bmp, and a
// menu that shows every feature of PopUpMenu. It pops the menu up at the mouse cursor and prints
// the key of the chosen item: "chosen: <key>", or "chosen: " alone when the menu was dismissed.
//
//   host.exe [--repeat N] [--dismiss] [--report] [--print-procs]
//     --repeat N      pop the menu up N times, printing the process's GDI and USER objects after
//                     the first pop-up and after the last
//     --dismiss       once the menu is painted, highlight each top-level item in turn, then close
//                     the pop-up, without any input
//     --report        print the system colours, each open menu's item rectangles and each
//                     painted item (for the end-to-end tests)
//     --print-procs   print the window procedure before, during and after each pop-up

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "Automation.h"
#include "MenuEntry.h"
#include "Probe.h"

namespace {

using demo::MenuEntry;

// Pictures of demo/pictures.bmp, in strip order.
enum Picture : long { kFolder, kDocument, kStar, kDisk, kTicked, kHeart };

// Every feature at once: pictures, separators, checked items with and without a checked picture,
// disabled items with and without a picture, a hidden item, access letters (S shared by Save and
// Starred, so that typing it moves the highlight between them), a doubled ampersand, a label
// outside ASCII and a submenu three levels deep.
const MenuEntry kMenu[] = {
    {.key = L"open", .text = L"&Open", .picture = kFolder},
    {.key = L"save", .text = L"&Save", .picture = kDisk},
    {.key = L"city", .text = L"Città – Ünïcødé", .picture = kHeart},
    {.key = L"sep1", .text = L"-"},
    {.key = L"bold", .text = L"&Bold", .checked = true},
    {.key = L"starred", .text = L"&Starred", .picture = kStar, .checkedPicture = kTicked, .checked = true},
    {.key = L"sep2", .text = L"-"},
    {.key = L"print", .text = L"&Print", .enabled = false},
    {.key = L"share", .text = L"S&hare", .picture = kDocument, .enabled = false},
    {.key = L"secret", .text = L"Hidden item", .visible = false},
    {.key = L"more", .text = L"&More"},
    {.key = L"recent", .text = L"&Recent files", .parent = L"more"},
    {.key = L"older", .text = L"&Older", .parent = L"recent"},
    {.key = L"archive2019", .text = L"Archive &2019", .parent = L"older", .picture = kFolder},
    {.key = L"archive2020", .text = L"Archive 2020", .parent = L"older"},
    {.key = L"report", .text = L"Report.txt", .parent = L"recent", .picture = kDocument},
    {.key = L"tools", .text = L"Tools && Options", .parent = L"more"},
    {.key = L"exit", .text = L"E&xit"},
};

void fillMenu(IDispatch* items) {
    for (const MenuEntry& entry : kMenu) {
        const demo::Variant parent = entry.parent ? demo::Variant(entry.parent) : demo::Variant::missing();
        const demo::Object item =
            demo::call(items, L"Add", {entry.key, entry.text, parent, entry.picture, entry.checkedPicture}).object();
        if (entry.checked) demo::put(item.Get(), L"Checked", true);
        if (!entry.enabled) demo::put(item.Get(), L"Enabled", false);
        if (!entry.visible) demo::put(item.Get(), L"Visible", false);
    }
}

struct Options {
    int repeat = 1;
    demo::ProbeOptions probe;
};

Options parseOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--repeat" && i + 1 < argc) options.repeat = std::max(1, _wtoi(argv[++i]));
        else if (arg == L"--dismiss") options.probe.autoDismiss = true;
        else if (arg == L"--report") options.probe.report = true;
        else if (arg == L"--print-procs") options.probe.printProcs = true;
        else throw std::runtime_error("unknown option; see the top of demo/host.cpp");
    }
    return options;
}

demo::Probe* g_probe = nullptr;

LRESULT CALLBACK hostWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (g_probe) g_probe->onTimer();
        return 0;
    case WM_DRAWITEM:  // PopUpMenu has painted the item already; this window still sees the message
        if (g_probe && wParam == 0) g_probe->onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        const wchar_t hint[] = L"PopUpMenu demo: the menu opens at the mouse cursor.";
        TextOutW(dc, 12, 12, hint, static_cast<int>(std::wcslen(hint)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct WindowDestroyer { void operator()(HWND h) const { DestroyWindow(h); } };
struct ImageListDestroyer { void operator()(HIMAGELIST h) const { ImageList_Destroy(h); } };
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using OwnedImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

// A visible window in the foreground: PopUp takes the foreground window as the menu's owner.
OwnedWindow createHostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostWindowProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"PopUpMenuDemoHost";
    RegisterClassW(&wc);
    OwnedWindow window(CreateWindowExW(0, wc.lpszClassName, L"PopUpMenu demo", WS_OVERLAPPEDWINDOW, 40, 40, 560,
                                       420, nullptr, nullptr, wc.hInstance, nullptr));
    if (!window) throw std::runtime_error("the host window could not be created");
    ShowWindow(window.get(), SW_SHOW);
    UpdateWindow(window.get());
    SetForegroundWindow(window.get());
    return window;
}

// The strip of 16 x 16 pictures, magenta being transparent.
OwnedImageList loadPictures() {
    OwnedImageList list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 6, 0));
    const HBITMAP strip = LoadBitmapW(GetModuleHandleW(nullptr), L"PICTURES");
    if (!list || strip == nullptr) throw std::runtime_error("the pictures could not be loaded");
    ImageList_AddMasked(list.get(), strip, RGB(255, 0, 255));
    DeleteObject(strip);
    return list;
}

// hImageList is a 32-bit property: a 64-bit host can hand over only a handle that fits.
long imageListValue(HIMAGELIST list) {
    const auto value = reinterpret_cast<LONG_PTR>(list);
    if (value != static_cast<long>(value)) throw std::runtime_error("the image list's address does not fit hImageList");
    return static_cast<long>(value);
}

void run(const Options& options) {
    const OwnedWindow window = createHostWindow();
    const OwnedImageList pictures = loadPictures();

    const demo::Object menu = demo::createObject(L"PopUpMenu.NuvraPopUpMenu");
    demo::put(menu.Get(), L"hImageList", imageListValue(pictures.get()));
    fillMenu(demo::call(menu.Get(), L"MenuItems").object().Get());

    demo::Probe probe(window.get(), hostWindowProcedure, kMenu, options.probe);
    g_probe = &probe;
    if (options.probe.report) probe.printSystemColours();
    for (int i = 1; i <= options.repeat; ++i) {
        probe.beforePopUp();
        const std::wstring key = demo::call(menu.Get(), L"PopUp").text();
        probe.afterPopUp();
        std::printf("chosen: %s\n", demo::utf8(key).c_str());
        if (options.repeat > 1 && (i == 1 || i == options.repeat)) {
            if (i == 1) probe.printCounterCheck();
            probe.printObjectCounts(i == 1 ? "after-first" : "after-last");
        }
    }
    if (options.probe.autoDismiss) probe.printPaintCounts();
    g_probe = nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each line reaches a pipe at once
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int code = 0;
    try {
        run(parseOptions(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "host: %s\n", e.what());
        code = 2;
    }
    CoUninitialize();
    return code;
}
