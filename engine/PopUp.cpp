// NuvraPopUpMenu::PopUp: builds the native menu, hooks the owner window while the platform's modal
// menu loop runs, and maps the chosen command back to its item.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/BuildMenu.h"
#include "engine/MenuHook.h"
#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupDpi.h"
#include "engine/PopupState.h"
#include "model/FailureBox.h"
#include "platform/Owned.h"
#include "render/MeasuringFont.h"
#include "render/PictureCache.h"

namespace popupmenu {
namespace {

// An object-defined failure number, as automation objects give their own failures.
constexpr std::int32_t kMenuCannotBeShown = 1004;

// Marks the pop-up of this thread open for the window hook, and closed again on every way out.
// It holds what the render context refers to (the collection and the measuring font) for as
// long as the record hands that context out.
class OpenPopUpScope {
public:
    OpenPopUpScope(Platform& platform, Ref<MenuItems> items) : state_(popupState()), items_(std::move(items)) {
        state_.open = true;
        state_.platform = &platform;
    }
    OpenPopUpScope(const OpenPopUpScope&) = delete;
    OpenPopUpScope& operator=(const OpenPopUpScope&) = delete;
    // The hook no longer sees the context once the pop-up has closed; the font is deleted after that.
    ~OpenPopUpScope() {
        state_.open = false;
        state_.render = nullptr;
        state_.menus.clear();
        state_.menuPictures.clear();
    }

    // Tells the hook which menus are the pop-up's own (the root menu and the submenus built for it)
    // and which pictures their items show.
    void shows(Handle rootMenu, const std::vector<Handle>& submenus, MenuPictures pictures) {
        state_.menus.assign(1, rootMenu);
        state_.menus.insert(state_.menus.end(), submenus.begin(), submenus.end());
        state_.menuPictures = std::move(pictures);
    }

    // Builds the one render context of this pop-up: the owner's device context, the collection the
    // menu was built from, the image list with its size, the font the labels are measured in,
    // which the scope owns until the pop-up has closed, the DPI every size follows, and whether a
    // high-contrast theme is on.
    //
    // Labels are measured on a memory DC compatible with the owner's, which holds the measuring
    // font for the whole pop-up: selecting a font in and out costs far more than measuring a label
    // (measured under Wine: 13-14 us against about 1 us), and the owner's own DC, which a window of
    // a class with its own DC also paints with, keeps its font. Where no such DC can be made, each
    // request selects the font into the owner's DC and puts the owner's font back.
    //
    // Sizes measured in an earlier pop-up are used again while the font's description and the DPI
    // are unchanged. A font that could not be made measures in the DC's own font, whose sizes are
    // neither kept nor reused.
    void renderOn(Handle ownerDC, const LogFontA& fontDescription, OwnedGdiObject font, std::uint32_t dpi,
                  bool highContrast) {
        Platform& platform = *state_.platform;
        measuringFont_ = std::move(font);
        if (measuringFont_) {
            measuringDC_ = OwnedDC(platform, platform.createCompatibleDC(ownerDC));
            if (measuringDC_) keepFont_.emplace(platform, measuringDC_.get(), measuringFont_.get());
        }
        const Handle measureOn = measuringDC_ ? measuringDC_.get() : ownerDC;
        const Handle selectPerRequest = measuringDC_ ? 0 : measuringFont_.get();
        render_.emplace(RenderContext{platform, measureOn, items_.get(), state_.hImageList, state_.lIconWidth,
                                      state_.lIconHeight, selectPerRequest, dpi});
        render_->highContrast = highContrast;
        render_->pictures = &pictures_;
        if (measuringFont_) render_->measureStamp = state_.measureStamps.stampFor(fontDescription, render_->dpi);
        state_.render = &*render_;
    }

private:
    PopupState& state_;
    Ref<MenuItems> items_;
    // Released in reverse order: the font comes out of the measuring DC, the DC goes, then the font.
    OwnedGdiObject measuringFont_;
    OwnedDC measuringDC_;
    std::optional<SelectionGuard> keepFont_;
    // The pictures kept for this pop-up's draw requests: pixels only, no GDI object.
    PictureCache pictures_;
    std::optional<RenderContext> render_;
};

// Replaces a window's procedure and puts the previous one back when it goes out of scope. The
// previous procedure is kept in PopupState.lPrevWndProc, where MenuWndProc finds it.
class WindowProcedureHook {
public:
    WindowProcedureHook(Platform& platform, Handle hwnd, ProcValue procedure)
        : platform_(platform), hwnd_(hwnd), previous_(platform.setWindowProcedure(hwnd, procedure)) {
        popupState().lPrevWndProc = previous_;
    }
    WindowProcedureHook(const WindowProcedureHook&) = delete;
    WindowProcedureHook& operator=(const WindowProcedureHook&) = delete;
    // A replacement that failed (no previous procedure) has nothing to put back.
    ~WindowProcedureHook() {
        if (previous_ != 0) platform_.setWindowProcedure(hwnd_, previous_);
    }
    bool installed() const noexcept { return previous_ != 0; }

private:
    Platform& platform_;
    Handle hwnd_;
    ProcValue previous_;
};

// The failures that leave the menu unshown. PopUp reports them as it reports every failure of its
// own, in the warning box, and still returns "": without the box the user could not tell them
// from a menu dismissed with Escape, and the host sees no error either way.
AutomationError menuCannotBeShown(std::u16string_view reason) {
    return AutomationError(kMenuCannotBeShown, u"The menu cannot be shown: " + std::u16string(reason));
}

// A window can be hooked and can own the menu only when it belongs to the calling thread.
bool belongsToThisThread(Platform& platform, Handle hwnd) {
    return hwnd != 0 && platform.getWindowThreadId(hwnd) == platform.getCurrentThreadId();
}

// The command item appended with `command`, the first one when several share it; none for 0.
//
// The chosen item is looked up in the list of commands the build appended, not in the collection:
// the host may remove the item, or clear the collection and add others under the same numbers,
// from a message it handles while the menu is open, and the item the user saw and chose still
// returns its key.
Ref<MenuItem> commandItem(const AppendedCommands& commands, std::int32_t command) {
    if (command <= 0) return nullptr;
    for (const AppendedCommand& appended : commands)
        if (appended.identifier == command) return appended.item;
    return nullptr;
}

// Shows the menu of `items` and returns the command item the user chose, or none.
Ref<MenuItem> showMenu(Platform& platform, const Ref<MenuItems>& items) {
    PopupState& state = popupState();
    OpenPopUpScope open(platform, items);

    // Declared in reverse order of release, so that every way out, a failure included, ends the
    // pop-up as a normal close does: the menu tree first, then the owner's own window procedure,
    // then its device context, and last the hidden owner window when the library made one. The
    // items' records, which the menu items point to, go after the menu tree; the measuring font
    // goes with the open-pop-up scope, after all of them. The thread's own DPI awareness comes back
    // once the menu's windows are gone.
    std::optional<PopupDpi> dpi;
    BuiltMenu built;
    OwnedWindow hiddenOwner;
    std::optional<WindowDC> ownerDC;
    std::optional<WindowProcedureHook> hook;
    OwnedMenu rootMenu;

    rootMenu = OwnedMenu(platform, platform.createPopupMenu());
    state.hRootMenu = rootMenu.get();
    built = BuildMenu(platform, items.get(), rootMenu.get());
    open.shows(rootMenu.get(), built.submenus, std::move(built.pictures));

    state.hOwnerWnd = platform.getForegroundWindow();
    if (!belongsToThisThread(platform, state.hOwnerWnd)) {
        // No foreground window of this thread (a console script host, a service): the menu gets
        // an owner of its own, so its owner-draw requests reach this thread's hook.
        hiddenOwner = OwnedWindow(platform, platform.createOwnerWindow());
        state.hOwnerWnd = hiddenOwner.get();
        if (!hiddenOwner) throw menuCannotBeShown(u"no owner window could be made");
    }
    const Handle owner = state.hOwnerWnd;

    ownerDC.emplace(platform, owner);
    state.hOwnerDC = ownerDC->get();

    Point cursor;
    platform.getCursorPos(cursor);

    // One DPI for the whole pop-up, read before anything is measured; the menu window that the
    // menu loop makes is made in the awareness chosen here.
    dpi.emplace(platform, owner, cursor);
    // Every item is measured in the system's menu font for that DPI as it is now: the metrics are
    // read once for the whole menu instead of once per item.
    // The theme is read once as well: every item of one pop-up is drawn in the same scheme.
    const LogFontA fontDescription = DescribeMeasuringFont(platform, dpi->dpi());
    OwnedGdiObject measuringFont = CreateMeasuringFont(platform, fontDescription);
    const bool highContrast = platform.highContrastOn();
    open.renderOn(ownerDC->get(), fontDescription, std::move(measuringFont), dpi->dpi(), highContrast);
    hook.emplace(platform, owner, platform.windowProcedureFor(&MenuWndProc));
    // Unhooked, every item would be measured as empty: show no menu rather than an unusable one.
    if (!hook->installed()) throw menuCannotBeShown(u"the owner window's procedure could not be replaced");

    // The menu takes the keyboard and closes on a click outside only when its owner is the
    // foreground window; a hidden owner has to be made so, and the null message after tracking
    // lets the next menu of the same owner close properly too.
    if (hiddenOwner) platform.setForegroundWindow(owner);
    const std::int32_t command =
        platform.trackPopupMenu(rootMenu.get(), win::TPM_RETURNCMD | win::TPM_RIGHTBUTTON, cursor.x, cursor.y, owner);
    if (hiddenOwner) platform.postMessage(owner, win::WM_NULL, 0, 0);
    return commandItem(built.commands, command);
}

}  // namespace

std::u16string NuvraPopUpMenu::PopUp() noexcept {
    // One pop-up per thread: a second one would hook the owner again and make MenuWndProc its own
    // previous procedure. The open one stays untouched.
    if (popupState().open) return {};

    // The host may release the component from a message it handles while the menu is open.
    const Ref<NuvraPopUpMenu> keepAlive(this);
    try {
        const Ref<MenuItem> chosen = showMenu(platform_, mItems);
        return chosen ? chosen->key() : std::u16string();
    } catch (...) {
        showCurrentFailure(platform_);
        return {};
    }
}

}  // namespace popupmenu
