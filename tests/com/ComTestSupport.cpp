#include "ComTestSupport.h"

#include "tests/support/win32/DesktopWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace popupmenu::comtest {

using popupmenu::testing::classOf;
using popupmenu::testing::visibleWindowsOf;
using popupmenu::testing::windowText;

namespace {

std::wstring executableDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

std::wstring fullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

// The message of a message box: the text of its static control that is not the icon.
std::wstring messageOf(HWND box) {
    std::wstring message;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (classOf(child) != L"Static") continue;
        const std::wstring childText = windowText(child);
        if (!childText.empty()) message = childText;
    }
    return message;
}

}  // namespace

std::wstring builtModulePath() { return fullPath(executableDirectory() + POPUPMENU_MODULE_FROM_TESTS); }

std::wstring besideExecutable(const std::wstring& name) { return executableDirectory() + name; }

LoadedModule::LoadedModule() : module_(LoadLibraryW(builtModulePath().c_str())) {
    if (!module_) return;
    canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    if (!canUnloadNow_ || !getClassObject_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

LoadedModule::~LoadedModule() {
    if (module_) FreeLibrary(module_);
}

ComPtr<IClassFactory> LoadedModule::factory(REFCLSID clsid) const {
    ComPtr<IClassFactory> result;
    if (module_) getClassObject_(clsid, IID_IClassFactory, reinterpret_cast<void**>(result.put()));
    return result;
}

IUnknown* identity(IUnknown* object) {
    if (!object) return nullptr;
    IUnknown* unknown = nullptr;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (unknown) unknown->Release();  // the object stays alive through `object`
    return unknown;
}

void setString(VARIANT& v, const wchar_t* value) {
    VariantClear(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value);
}

void setInt(VARIANT& v, LONG value) {
    VariantClear(&v);
    v.vt = VT_I4;
    v.lVal = value;
}

void setMissing(VARIANT& v) {
    VariantClear(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
}

std::wstring text(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

std::optional<ErrorInfoRecord> takeErrorInfo() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return std::nullopt;
    ErrorInfoRecord record;
    Bstr source, description;
    info->GetSource(source.put());
    info->GetDescription(description.put());
    info->GetGUID(&record.guid);
    record.source = text(source.get());
    record.description = text(description.get());
    return record;
}

std::wstring keyOf(_MenuItem* item) {
    if (!item) return L"";
    Bstr key;
    item->get_key(key.put());
    return text(key.get());
}

MessageBoxWatcher::MessageBoxWatcher(DWORD processId) : processId_(processId), thread_([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> MessageBoxWatcher::takeTexts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(texts_, {});
}

void MessageBoxWatcher::watch() {
    while (!stop_) {
        for (HWND box : visibleWindowsOf(processId_, L"#32770")) {
            std::lock_guard<std::mutex> lock(mutex_);
            // A box that was told to close may still be visible for a moment: record it once.
            if (std::find(dismissed_.begin(), dismissed_.end(), box) != dismissed_.end()) continue;
            dismissed_.push_back(box);
            texts_.push_back(messageOf(box));
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

MenuDriver::MenuDriver(int position, DWORD processId)
    : thread_([this, position, processId] {
          while (!stop_) {
              const std::vector<HWND> menus = visibleWindowsOf(processId, L"#32768");
              if (!menus.empty()) {
                  sawMenu_ = true;
                  const HWND menu = menus.front();
                  if (position == 0) {
                      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                  } else {
                      for (int i = 0; i < position; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                      PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
                  }
                  return;
              }
              std::this_thread::sleep_for(std::chrono::milliseconds(20));
          }
      }) {}

MenuDriver::~MenuDriver() {
    stop_ = true;
    thread_.join();
}

ProgramRun runProgram(const std::wstring& commandLine, std::chrono::seconds limit, int menuChoice) {
    ProgramRun run;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end());
        return run;
    }
    {
        MessageBoxWatcher boxes(process.dwProcessId);
        std::optional<MenuDriver> menu;
        if (menuChoice >= 0) menu.emplace(menuChoice, process.dwProcessId);
        DWORD exitCode = 0;
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit.count() * 1000)) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &exitCode)) {
            run.exitCode = static_cast<int>(exitCode);
        } else {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        run.boxTexts = boxes.takeTexts();
        run.sawMenu = menu && menu->sawMenu();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace popupmenu::comtest
