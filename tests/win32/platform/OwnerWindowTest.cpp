// The hidden owner window the library makes for a host without a window of its own, whatever
// registration of its window class the process holds: a window class outlives the DLL that
// registered it, so a DLL loaded again may find its class still there.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/win32/Win32Platform.h"
#include "tests/support/win32/DesktopWindows.h"

namespace popupmenu::testing {
namespace {

const wchar_t kOwnerWindowClass[] = L"PopUpMenuOwnerWindow";

TEST(OwnerWindow, IsMadeWhateverRegistrationOfItsClassTheProcessHolds) {
    ASSERT_NE(GetEnvironmentVariableW(L"DISPLAY", nullptr, 0), 0u)
        << "windows can be made only on a display: run with DISPLAY naming an X server";
    const HINSTANCE module = Win32Platform::resourceModule();
    const auto leaveAClassBehind = [&] {
        // As an earlier load of the DLL at the same address leaves it.
        UnregisterClassW(kOwnerWindowClass, module);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = module;
        wc.lpszClassName = kOwnerWindowClass;
        ASSERT_NE(RegisterClassExW(&wc), 0);
    };
    const auto removeTheClass = [&] { UnregisterClassW(kOwnerWindowClass, module); };
    struct Case {
        const char* what;
        std::function<void()> arrange;
    };
    // In this order: a registration that failed once must not stand in the way of the next.
    const Case cases[] = {
        {"a class of the module's own left registered", leaveAClassBehind},
        {"no class registered", removeTheClass},
        {"the class registered by the window before", [] {}},
        {"a class left registered again", leaveAClassBehind},
    };
    Win32Platform platform;
    for (const Case& c : cases) {
        c.arrange();
        const HWND owner = Win32Platform::native<HWND>(platform.createOwnerWindow());
        ASSERT_NE(owner, nullptr) << c.what;
        EXPECT_EQ(classOf(owner), kOwnerWindowClass) << c.what;
        EXPECT_FALSE(IsWindowVisible(owner)) << c.what;
        EXPECT_TRUE(platform.destroyWindow(Win32Platform::portable(owner))) << c.what;
    }
    removeTheClass();
}

}  // namespace
}  // namespace popupmenu::testing
