#pragma once
// The modal message boxes through which operations with a failure handler report to the user.
// They pass no caption of their own, so the box shows the library's name.

#include <string_view>

#include "model/AutomationError.h"
#include "platform/Platform.h"

namespace popupmenu {

inline constexpr std::u16string_view kLibraryCaption = u"PopUpMenu";

// The warning box (MB_OK | MB_ICONWARNING) with the failure's description.
void showFailure(Platform& platform, const AutomationError& failure) noexcept;
// The warning box for whatever exception is being handled (see failureOf).
void showCurrentFailure(Platform& platform) noexcept;
// The information box (MB_OK | MB_ICONINFORMATION) with a fixed text.
void showInformation(Platform& platform, std::u16string_view text) noexcept;

}  // namespace popupmenu
