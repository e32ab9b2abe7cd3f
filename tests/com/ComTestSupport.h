#pragma once
// What the tests of the automation surface share: the built module, loaded as a client loads it,
// its class factories, VARIANT helpers, and the watchers that keep a test from ever hanging on a
// message box or an open menu.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PopUpMenu_h.h"
#include "com/ComHandles.h"

namespace popupmenu::comtest {

using com::Bstr;
using com::ComPtr;

// The full path of the PopUpMenu.dll of this build.
std::wstring builtModulePath();
// A file next to the test executable.
std::wstring besideExecutable(const std::wstring& name);

// COM initialised for an apartment-threaded client, for the life of a test.
class Apartment {
public:
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment() { CoUninitialize(); }
};

// The built module loaded into this process the way COM loads an in-process server (no
// registration needed): its exported entry points, called directly.
class LoadedModule {
public:
    LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule();

    bool loaded() const { return module_ != nullptr; }
    HRESULT canUnloadNow() const { return canUnloadNow_(); }
    HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** object) const { return getClassObject_(clsid, iid, object); }
    ComPtr<IClassFactory> factory(REFCLSID clsid) const;
    // A new object of `clsid` through its factory, as `Interface`.
    template <typename Interface>
    ComPtr<Interface> create(REFCLSID clsid) const {
        ComPtr<Interface> object;
        ComPtr<IClassFactory> f = factory(clsid);
        if (f) f->CreateInstance(nullptr, __uuidof(Interface), reinterpret_cast<void**>(object.put()));
        return object;
    }

private:
    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
};

// The IUnknown identity of an object, to compare two interface pointers.
IUnknown* identity(IUnknown* object);

// An owned VARIANT.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* get() { return &v_; }
    VARIANT& operator*() { return v_; }
    VARIANT* operator->() { return &v_; }

private:
    VARIANT v_;
};

void setString(VARIANT& v, const wchar_t* text);
void setInt(VARIANT& v, LONG value);
void setMissing(VARIANT& v);  // an omitted optional argument: VT_ERROR holding DISP_E_PARAMNOTFOUND

std::wstring text(BSTR s);
// What a failed call left as the thread's error info, taken (the thread then has none).
struct ErrorInfoRecord {
    std::wstring source;
    std::wstring description;
    GUID guid{};
};
std::optional<ErrorInfoRecord> takeErrorInfo();

// The key of an item interface ("" for none).
std::wstring keyOf(_MenuItem* item);

// Finds the message boxes of one process while it lives, records their text and closes each with
// OK, so that a test never waits for a user. Polls in a thread of its own.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(DWORD processId = GetCurrentProcessId());
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher();
    // The texts of the boxes dismissed so far, in order; clears the record.
    std::vector<std::wstring> takeTexts();

private:
    void watch();
    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::vector<HWND> dismissed_;
    std::thread thread_;
};

// Waits in a thread of its own for a pop-up menu of the process to open, then chooses its item
// number `position` (1 = the first; separators do not count) with the keyboard, or dismisses it
// with Escape for 0.
class MenuDriver {
public:
    explicit MenuDriver(int position, DWORD processId = GetCurrentProcessId());
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;
    ~MenuDriver();
    bool sawMenu() const { return sawMenu_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> sawMenu_{false};
    std::thread thread_;
};

struct ProgramRun {
    int exitCode = -1;                    // -1: the program hung and was killed
    std::vector<std::wstring> boxTexts;   // its message boxes, each closed with OK
    bool sawMenu = false;
};

// Runs a program to its end. Its message boxes are answered; when `menuChoice` is 0 or more, its
// pop-up menu is answered as MenuDriver does. A program still running after `limit` is a hung
// program: it is killed.
ProgramRun runProgram(const std::wstring& commandLine, std::chrono::seconds limit, int menuChoice = -1);

}  // namespace popupmenu::comtest
