// A host that lets COM unload the module while it is idle, as office hosts do, and then creates a
// menu again: the module must really unload (nothing of it may hold it in the process), and the
// module loaded anew must pop up its menu as the first one did. The module is registered in the
// fixture's private prefix and loaded by COM alone: this process never loads it itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "tests/support/win32/DesktopWindows.h"
#include "tests/win32/engine/MenuDriver.h"

namespace popupmenu::comtest {
namespace {

using namespace std::chrono_literals;
using popupmenu::testing::HostWindow;
using popupmenu::testing::key;
using popupmenu::testing::MenuStep;

const wchar_t kModuleName[] = L"PopUpMenu.dll";
const wchar_t kOwnerWindowClass[] = L"PopUpMenuOwnerWindow";

// A late-bound call by member name, as a script host makes it; `args` in their natural order.
HRESULT callByName(IDispatch* object, const wchar_t* member, WORD flags, std::vector<VARIANT> args,
                   VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

struct PopUpOutcome {
    std::wstring key;
    bool driverCompleted = false;
    bool watchdogFired = false;
};

// Creates a menu by its ProgID, fills it with Open, Save and Quit, pops it up under a driver that
// chooses Save, and releases everything it made before returning.
void popUpANewMenu(PopUpOutcome& outcome) {
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"PopUpMenu.NuvraPopUpMenu", &clsid));
    ComPtr<IDispatch> menu;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(menu.put())));
    Variant items;
    ASSERT_HRESULT_SUCCEEDED(
        callByName(menu.get(), L"MenuItems", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, items.get()));
    ASSERT_EQ(items->vt, VT_DISPATCH);
    const wchar_t* const entries[][2] = {{L"open", L"&Open"}, {L"save", L"&Save"}, {L"quit", L"&Quit"}};
    for (const auto& entry : entries) {
        Variant itemKey, itemText, added;
        setString(*itemKey, entry[0]);
        setString(*itemText, entry[1]);
        ASSERT_HRESULT_SUCCEEDED(callByName(items->pdispVal, L"Add", DISPATCH_METHOD, {*itemKey, *itemText}, added.get()));
    }

    Variant chosen;
    popupmenu::testing::MenuDriver driver({key(VK_DOWN), key(VK_DOWN), key(VK_RETURN)});
    const HRESULT hr = callByName(menu.get(), L"PopUp", DISPATCH_METHOD, {}, chosen.get());
    driver.finished();
    outcome.driverCompleted = driver.completed();
    outcome.watchdogFired = driver.watchdogFired();
    ASSERT_HRESULT_SUCCEEDED(hr);
    ASSERT_EQ(chosen->vt, VT_BSTR);
    outcome.key = text(chosen->bstrVal);
}

// What an idle host does: COM frees every in-process server that says it can unload. Returns
// whether the module is gone from the process.
bool unloadIdleServers() {
    for (int call = 0; call < 5 && GetModuleHandleW(kModuleName) != nullptr; ++call) CoFreeUnusedLibrariesEx(0, 0);
    return GetModuleHandleW(kModuleName) == nullptr;
}

class ReloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(GetEnvironmentVariableW(L"DISPLAY", nullptr, 0), 0u)
            << "these tests open real menus: run them with DISPLAY naming an X server";
        ASSERT_EQ(regsvr32(L""), 0) << "registration failed";
        ASSERT_EQ(GetModuleHandleW(kModuleName), nullptr) << "the module is loaded before the test";
    }
    void TearDown() override { regsvr32(L"/u"); }

    int regsvr32(const std::wstring& options) {
        return runProgram(L"regsvr32.exe /s " + options + L" \"" + builtModulePath() + L"\"", 120s).exitCode;
    }

    // Pops a menu up, lets COM unload the module, and pops a menu of the module loaded again up.
    void popUpUnloadAndPopUpAgain(const std::function<void()>& beforePopUp) {
        for (const char* round : {"first load", "after the reload"}) {
            SCOPED_TRACE(round);
            beforePopUp();
            PopUpOutcome outcome;
            popUpANewMenu(outcome);
            EXPECT_FALSE(outcome.watchdogFired);
            EXPECT_TRUE(outcome.driverCompleted) << "no menu opened";
            EXPECT_EQ(outcome.key, L"save");

            const HMODULE loadedAt = GetModuleHandleW(kModuleName);
            ASSERT_NE(loadedAt, nullptr);
            EXPECT_TRUE(unloadIdleServers()) << "CoFreeUnusedLibrariesEx(0, 0) left the idle module loaded";
            WNDCLASSEXW ownerClass{};
            ownerClass.cbSize = sizeof ownerClass;
            EXPECT_FALSE(GetClassInfoExW(loadedAt, kOwnerWindowClass, &ownerClass))
                << "the hidden owner's window class outlived its module";
        }
    }

    Apartment apartment;
};

TEST_F(ReloadTest, AWindowlessHostPopsUpAgainAfterTheModuleWasUnloaded) {
    // No window of this thread is in the foreground, as in a console script host: the menu needs
    // the library's hidden owner window, whose class the first load registered.
    const HWND foreground = GetForegroundWindow();
    ASSERT_TRUE(foreground == nullptr || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId());
    popUpUnloadAndPopUpAgain([] {});
}

TEST_F(ReloadTest, AHostWithAWindowPopsUpAgainAfterTheModuleWasUnloaded) {
    HostWindow host;
    ASSERT_EQ(GetForegroundWindow(), host.get());
    popUpUnloadAndPopUpAgain([&] { host.bringToForeground(); });
}

}  // namespace
}  // namespace popupmenu::comtest
