#include "engine/MenuHook.h"

#include "engine/PopupState.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

// The height a measure request is answered with when no item has the requested identifier.
constexpr std::int32_t kPresetItemHeight = 20;

RenderContext renderContextFor(const OpenPopUp& current, const PopupState& state) {
    return RenderContext{*current.platform, state.hOwnerDC,    current.items.get(),   state.hImageList,
                         state.lIconWidth,   state.lIconHeight, current.measuringFont};
}

}  // namespace

void RouteMenuMessage(Handle, std::uint32_t uMsg, WParam wParam, LParam lParam) {
    const OpenPopUp& current = openPopUp();
    if (!current.open || current.platform == nullptr) return;
    Platform& platform = *current.platform;

    if (uMsg == win::WM_DRAWITEM) {
        // A non-zero wParam names one of the owner's own controls, which the owner draws itself.
        if (wParam == 0) DrawMenuItem(renderContextFor(current, popupState()), lParam);
    } else if (uMsg == win::WM_MEASUREITEM) {
        // Every field but the size goes back as the platform filled it.
        MeasureItemRecord measure = platform.readMeasureItem(lParam);
        std::int32_t lItemHeight = kPresetItemHeight;
        const std::int32_t lItemWidth = MeasureMenuItem(renderContextFor(current, popupState()),
                                                        static_cast<std::int32_t>(measure.itemID), lItemHeight);
        measure.itemWidth = static_cast<std::uint32_t>(lItemWidth);
        measure.itemHeight = static_cast<std::uint32_t>(lItemHeight);
        platform.writeMeasureItem(lParam, measure);
    }
}

LResult MenuWndProc(Handle hwnd, std::uint32_t uMsg, WParam wParam, LParam lParam) noexcept {
    try {
        RouteMenuMessage(hwnd, uMsg, wParam, lParam);
    } catch (...) {
        // An item that cannot be measured or drawn stays as the platform left it; the owner's own
        // procedure still gets the message below, and the menu stays usable.
    }
    Platform* platform = openPopUp().platform;
    if (platform == nullptr) return 0;
    try {
        return platform->callWindowProcedure(popupState().lPrevWndProc, hwnd, uMsg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace popupmenu
