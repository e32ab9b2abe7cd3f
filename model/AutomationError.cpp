#include "model/AutomationError.h"

#include <new>
#include <utility>

namespace popupmenu {

AutomationError::AutomationError(std::int32_t number, std::u16string description)
    : number_(number), description_(std::move(description)) {}

AutomationError makeError(std::int32_t number) {
    switch (number) {
    case error::InvalidArgument: return {number, u"Invalid procedure call or argument"};
    case error::Overflow: return {number, u"Overflow"};
    case error::OutOfMemory: return {number, u"Out of memory"};
    case error::SubscriptOutOfRange: return {number, u"Subscript out of range"};
    case error::TypeMismatch: return {number, u"Type mismatch"};
    case error::DuplicateKey: return {number, u"This key is already associated with an element of this collection"};
    default: return {number, u"Application-defined or object-defined error"};
    }
}

AutomationError failureOf(std::exception_ptr failure) noexcept {
    // Building a description may itself run out of memory; the fallback then has an empty text.
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const AutomationError& e) {
            return e;
        } catch (const std::bad_alloc&) {
            return makeError(error::OutOfMemory);
        } catch (const std::length_error&) {
            return makeError(error::OutOfMemory);
        } catch (...) {
            return makeError(error::InvalidArgument);
        }
    } catch (...) {
        return AutomationError(error::OutOfMemory, std::u16string());
    }
}

}  // namespace popupmenu
