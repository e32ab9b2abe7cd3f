#include "tests/win32/engine/MenuDriver.h"

#include "tests/support/win32/DesktopWindows.h"

namespace popupmenu::testing {
namespace {

// Long enough for a loaded machine to open a menu; only a hang ever waits this long.
constexpr DWORD kGuardMilliseconds = 20000;
constexpr DWORD kPollMilliseconds = 20;

}  // namespace

std::vector<HWND> openMenuWindows() { return visibleWindowsOf(GetCurrentProcessId(), L"#32768"); }

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
        for (HWND box : visibleWindowsOf(GetCurrentProcessId(), L"#32770")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    } while (WaitForSingleObject(done_, 200) != WAIT_OBJECT_0);
}

}  // namespace popupmenu::testing
