#include "engine/FailureBox.h"

#include <new>
#include <string>

#include "model/Value.h"

namespace popupmenu {
namespace {

std::u16string descriptionOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const AutomationError& error) {
        return error.description();
    } catch (const std::bad_alloc&) {
        return u"Out of memory";
    } catch (const std::exception& error) {
        // what() is a narrow library message; its ASCII part is what a user can read.
        std::u16string text;
        for (const char* c = error.what(); *c != '\0'; ++c) text += static_cast<char16_t>(static_cast<unsigned char>(*c));
        return text;
    } catch (...) {
        return u"Unexpected failure";
    }
}

}  // namespace

void showFailure(Platform& platform, std::exception_ptr failure) noexcept {
    try {
        platform.messageBox(descriptionOf(failure), kFailureCaption, win::MB_ICONWARNING_OK);
    } catch (...) {
        // Nothing is left to report the failure with; the operation still returns normally.
    }
}

}  // namespace popupmenu
