#include "hostsupport/GuiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace hostsupport {
namespace {

// An entry of Wine's GDI handle table: the same 24 bytes on both architectures. A non-zero type
// marks a live object.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandles = 0x10000;

long countGdiHandleTable() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    // PEB.GdiSharedHandleTable: offset 0xF8 in the 64-bit PEB, 0x94 in the 32-bit one.
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const std::size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + offset);
    if (table == nullptr) return -1;
    long count = 0;
    for (int i = 0; i < kGdiHandles; ++i)
        if (table[i].type != 0) ++count;
    return count;
}

BOOL CALLBACK countOwnWindow(HWND hwnd, LPARAM counter) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(counter);
        EnumChildWindows(hwnd, countOwnWindow, counter);
    }
    return TRUE;
}

long countWindows() {
    long count = 0;
    EnumWindows(countOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;)
        countOwnWindow(h, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A USER handle is an index shifted left by one above 0x20, with a generation in the high word;
// a handle whose high word is 0 names the index whatever its generation, so every menu of the
// process is found by trying each index once.
long countMenus() {
    long count = 0;
    for (UINT_PTR handle = 0x20; handle < 0xFFF0; handle += 2)
        if (IsMenu(reinterpret_cast<HMENU>(handle))) ++count;
    return count;
}

}  // namespace

GuiObjects countGuiObjects() {
    const HANDLE process = GetCurrentProcess();
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return {static_cast<long>(gdi), static_cast<long>(user), "GetGuiResources"};
    return {countGdiHandleTable(), countWindows() + countMenus(), "handle table, windows and menus"};
}

}  // namespace hostsupport
