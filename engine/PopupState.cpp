#include "engine/PopupState.h"

namespace popupmenu {

PopupState& popupState() noexcept {
    thread_local PopupState state;
    return state;
}

}  // namespace popupmenu
