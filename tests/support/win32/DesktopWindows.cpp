#include "DesktopWindows.h"

namespace popupmenu::testing {
namespace {

struct Search {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search.processId && IsWindowVisible(hwnd) && classOf(hwnd) == search.className)
        search.found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::wstring classOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

std::vector<HWND> visibleWindowsOf(DWORD processId, const wchar_t* className) {
    Search search{processId, className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void pumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HostWindow::HostWindow(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // fails harmlessly when a window of this class was made before
    hwnd_ = CreateWindowExW(0, className, L"Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 600, 400, nullptr,
                            nullptr, wc.hInstance, nullptr);
    bringToForeground();
}

HostWindow::~HostWindow() {
    DestroyWindow(hwnd_);
    pumpPendingMessages();
}

void HostWindow::bringToForeground() const {
    SetForegroundWindow(hwnd_);
    SetCursorPos(320, 260);
    pumpPendingMessages();
}

}  // namespace popupmenu::testing
