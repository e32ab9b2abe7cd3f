// Message boxes for failures. A box is the end of a failure's handling, so nothing may escape
// from showing one: a platform that fails here has nobody left to report to.

#include "model/FailureBox.h"

namespace popupmenu {

void showFailure(Platform& platform, const AutomationError& failure) noexcept {
    try {
        platform.messageBox(failure.description(), kLibraryCaption, win::MB_ICONWARNING_OK);
    } catch (...) {
    }
}

void showCurrentFailure(Platform& platform) noexcept {
    showFailure(platform, failureOf(std::current_exception()));
}

void showInformation(Platform& platform, std::u16string_view text) noexcept {
    try {
        platform.messageBox(text, kLibraryCaption, win::MB_ICONINFORMATION_OK);
    } catch (...) {
    }
}

}  // namespace popupmenu
