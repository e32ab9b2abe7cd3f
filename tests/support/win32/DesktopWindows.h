#pragma once
// What the Windows tests share about windows on the desktop: finding a process's visible windows
// of a class, reading a window's class and text, running the thread's pending messages, and a
// host window that stands in for a desktop program.

#include <windows.h>

#include <string>
#include <vector>

namespace popupmenu::testing {

std::wstring classOf(HWND hwnd);
std::wstring windowText(HWND hwnd);

// The visible top-level windows of class `className` that belong to process `processId`, in the
// desktop's order (the topmost first).
std::vector<HWND> visibleWindowsOf(DWORD processId, const wchar_t* className);

// Translates and dispatches every message waiting in this thread's queue.
void pumpPendingMessages();

// A visible top-level window of the calling thread, in the foreground with the cursor over it, as
// when the user right-clicks a desktop host. `procedure` is the host's own window procedure; the
// class is registered once per name.
class HostWindow {
public:
    explicit HostWindow(const wchar_t* className = L"PopUpMenuTestHost", WNDPROC procedure = DefWindowProcW);
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow();

    HWND get() const { return hwnd_; }
    // Puts the window in front again with the cursor over it: the Wine desktop is shared with
    // other programs, which may take the foreground in between.
    void bringToForeground() const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace popupmenu::testing
