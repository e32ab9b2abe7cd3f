#pragma once
// The engine's failure handlers: a failure is shown to the user in a modal warning box and the
// operation returns normally, so the host never sees an error.

#include <exception>
#include <string_view>

#include "platform/Platform.h"

namespace popupmenu {

inline constexpr std::u16string_view kFailureCaption = u"PopUpMenu";

// Shows the description of `failure` in a warning box. Never throws.
void showFailure(Platform& platform, std::exception_ptr failure) noexcept;

}  // namespace popupmenu
