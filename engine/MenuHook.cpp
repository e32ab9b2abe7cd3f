#include "engine/MenuHook.h"

#include "engine/MenuChar.h"
#include "engine/PopupState.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

// The height a measure request is answered with when no item has the requested identifier, at
// 96 DPI; scaled to the pop-up's DPI.
constexpr std::int32_t kPresetItemHeight = 20;

// The high word of a WM_MENUCHAR answer: MNC_IGNORE, MNC_CLOSE, MNC_EXECUTE or MNC_SELECT.
std::uint32_t menuCharCode(LResult answer) { return static_cast<std::uint32_t>(answer >> 16) & 0xFFFF; }

// A WM_MENUCHAR that the owner's own procedure answered with `ownerAnswer`. A host that handles
// access letters itself keeps control: any answer but MNC_IGNORE stands. Otherwise the library
// answers for the menus of the open pop-up, and where it has nothing to say the owner's answer
// stands as well.
LResult answerWhatTheOwnerIgnored(LResult ownerAnswer, Handle hwnd, WParam wParam, LParam lParam) noexcept {
    if (menuCharCode(ownerAnswer) != win::MNC_IGNORE) return ownerAnswer;
    const PopupState& state = popupState();
    if (!state.open || !state.render || state.render->items == nullptr) return ownerAnswer;
    try {
        const auto typed = static_cast<char16_t>(wParam & 0xFFFF);
        const auto menu = static_cast<Handle>(lParam);
        const std::optional<LResult> answer =
            AnswerMenuChar(state.render->platform, *state.render->items, state.menus, hwnd, typed, menu);
        return answer ? *answer : ownerAnswer;
    } catch (...) {
        // A menu that cannot be read answers nothing: the character is ignored, the menu stays open.
        return ownerAnswer;
    }
}

}  // namespace

void RouteMenuMessage(Handle, std::uint32_t uMsg, WParam wParam, LParam lParam) {
    PopupState& state = popupState();
    // The owner sees these only while it is hooked; a menu font changed between two pop-ups shows
    // in the font's description, which the next pop-up's stamp is keyed by.
    if (uMsg == win::WM_SETTINGCHANGE || uMsg == win::WM_DPICHANGED) state.measureStamps.settingsChanged();
    if (!state.open || !state.render) return;
    const RenderContext& context = *state.render;

    if (uMsg == win::WM_DRAWITEM) {
        // A non-zero wParam names one of the owner's own controls, which the owner draws itself.
        if (wParam == 0) DrawMenuItem(context, lParam);
    } else if (uMsg == win::WM_MEASUREITEM) {
        // Every field but the size goes back as the platform filled it.
        MeasureItemRecord measure = context.platform.readMeasureItem(lParam);
        std::int32_t lItemHeight = scaled(kPresetItemHeight, context.dpi);
        const std::int32_t lItemWidth =
            MeasureMenuItem(context, static_cast<std::int32_t>(measure.itemID), lItemHeight);
        measure.itemWidth = static_cast<std::uint32_t>(lItemWidth);
        measure.itemHeight = static_cast<std::uint32_t>(lItemHeight);
        context.platform.writeMeasureItem(lParam, measure);
    } else if (uMsg == win::WM_INITMENUPOPUP) {
        // A menu of the pop-up is about to open: the pictures its items show are drawn once, for
        // all of its draw requests.
        const auto shown = state.menuPictures.find(static_cast<Handle>(wParam));
        if (shown != state.menuPictures.end()) KeepPictures(context, shown->second);
    }
}

LResult MenuWndProc(Handle hwnd, std::uint32_t uMsg, WParam wParam, LParam lParam) noexcept {
    try {
        RouteMenuMessage(hwnd, uMsg, wParam, lParam);
    } catch (...) {
        // An item that cannot be measured or drawn stays as the platform left it; the owner's own
        // procedure still gets the message below, and the menu stays usable.
    }
    const PopupState& state = popupState();
    if (state.platform == nullptr) return 0;
    LResult result = 0;
    try {
        result = state.platform->callWindowProcedure(state.lPrevWndProc, hwnd, uMsg, wParam, lParam);
    } catch (...) {
        result = 0;
    }
    // The owner's procedure sees an access letter first; the library answers only after it.
    if (uMsg == win::WM_MENUCHAR) result = answerWhatTheOwnerIgnored(result, hwnd, wParam, lParam);
    return result;
}

}  // namespace popupmenu
