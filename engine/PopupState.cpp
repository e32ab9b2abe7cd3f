#include "engine/PopupState.h"

namespace popupmenu {

PopupState& popupState() noexcept {
    thread_local PopupState state;
    return state;
}

OpenPopUp& openPopUp() noexcept {
    thread_local OpenPopUp current;
    return current;
}

}  // namespace popupmenu
