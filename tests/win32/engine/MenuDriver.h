#pragma once
// Drives a real pop-up menu from a second thread, the way a user at the keyboard would, and
// guards the test against a menu that never closes.
//
// The keys are posted to the open menu window of this process rather than typed through the X
// server or SendInput: the menu's modal loop reads keyboard messages from its thread's queue
// whatever their source, and posting never depends on which window of the shared Wine desktop has
// the foreground, so a test cannot type into another program's menu.

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace popupmenu::testing {

struct MenuStep {
    enum Kind { Key, Character, WaitForMenus, Action } kind;
    unsigned value;  // a virtual-key code, a UTF-16 character, or how many menu windows must be open
    std::function<void()> action = {};  // for Action: runs on the driver's thread while the menu is open
};

inline MenuStep key(unsigned vk) { return {MenuStep::Key, vk}; }
// A typed character as the menu receives it after translation (WM_CHAR), in any script.
inline MenuStep character(char16_t typed) { return {MenuStep::Character, typed}; }
inline MenuStep waitForMenus(unsigned count) { return {MenuStep::WaitForMenus, count}; }
inline MenuStep whileOpen(std::function<void()> action) { return {MenuStep::Action, 0, std::move(action)}; }

// The visible pop-up menu windows of this process, the most recently opened first.
std::vector<HWND> openMenuWindows();

class MenuDriver {
public:
    // Starts a thread that waits for the menu to open and then performs `steps`. If the menu does
    // not open, or is still open when the guard's time is up, the thread closes every menu and
    // message box of this process, so the test fails instead of hanging.
    explicit MenuDriver(std::vector<MenuStep> steps);
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;
    ~MenuDriver();

    // The pop-up call has returned: the guard stands down, and once this returns the thread has
    // ended, so completed() and watchdogFired() are final.
    void finished();
    // True when the guard had to close the menu.
    bool watchdogFired() const { return fired_.load(); }
    // True when every step was performed.
    bool completed() const { return completed_.load(); }

private:
    void run();
    bool waitUntilMenusOpen(unsigned count);
    void closeEverything();

    std::vector<MenuStep> steps_;
    HANDLE done_;
    std::atomic<bool> fired_{false};
    std::atomic<bool> completed_{false};
    std::thread thread_;
};

}  // namespace popupmenu::testing
