#include "tests/win32/engine/MenuDriver.h"

namespace popupmenu::testing {
namespace {

// Long enough for a loaded machine to open a menu; only a hang ever waits this long.
constexpr DWORD kGuardMilliseconds = 20000;
constexpr DWORD kPollMilliseconds = 20;

struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && lstrcmpW(name, search.className) == 0)
        search.found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> visibleWindowsOfThisProcess(const wchar_t* className) {
    Search search{className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::vector<HWND> openMenuWindows() { return visibleWindowsOfThisProcess(L"#32768"); }

MenuDriver::MenuDriver(std::vector<MenuStep> steps)
    : steps_(std::move(steps)), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { run(); }) {}

MenuDriver::~MenuDriver() {
    finished();
    CloseHandle(done_);
}

// Waits for the thread: the menu can close (and the pop-up call return) on the step the thread
// posted last, before the thread has recorded that it performed it.
void MenuDriver::finished() {
    SetEvent(done_);
    if (thread_.joinable()) thread_.join();
}

bool MenuDriver::waitUntilMenusOpen(unsigned count) {
    const ULONGLONG deadline = GetTickCount64() + kGuardMilliseconds;
    while (openMenuWindows().size() < count) {
        if (WaitForSingleObject(done_, kPollMilliseconds) == WAIT_OBJECT_0) return false;
        if (GetTickCount64() > deadline) return false;
    }
    return true;
}

void MenuDriver::run() {
    bool performed = waitUntilMenusOpen(1);
    for (const MenuStep& step : steps_) {
        if (!performed) break;
        if (step.kind == MenuStep::WaitForMenus) {
            performed = waitUntilMenusOpen(step.value);
            continue;
        }
        if (step.kind == MenuStep::Action) {
            step.action();
            continue;
        }
        const std::vector<HWND> menus = openMenuWindows();
        if (menus.empty()) {
            performed = false;
            break;
        }
        if (step.kind == MenuStep::Character) {
            PostMessageW(menus.front(), WM_CHAR, step.value, 1);
        } else {
            PostMessageW(menus.front(), WM_KEYDOWN, step.value, 1);
            PostMessageW(menus.front(), WM_KEYUP, step.value, 0xC0000001);
        }
    }
    completed_ = performed;
    // Now the pop-up call has to return. A menu that stays open, or a call that is still waiting
    // for a menu that never opened, is ended here.
    if (WaitForSingleObject(done_, performed ? kGuardMilliseconds : 0) == WAIT_OBJECT_0) return;
    fired_ = true;
    closeEverything();
}

void MenuDriver::closeEverything() {
    do {
        EndMenu();
        for (HWND menu : openMenuWindows()) PostMessageW(menu, WM_CANCELMODE, 0, 0);
        for (HWND box : visibleWindowsOfThisProcess(L"#32770")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    } while (WaitForSingleObject(done_, 200) != WAIT_OBJECT_0);
}

}  // namespace popupmenu::testing
