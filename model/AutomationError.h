#pragma once
// The failure the library reports, with a number and a description as the message boxes show it
// (FailureBox.h) and as the automation layer turns it into error info.

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace popupmenu {

// Conventional automation failure numbers.
namespace error {
inline constexpr std::int32_t InvalidArgument = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t DuplicateKey = 457;
}  // namespace error

// A failure with a number and a description, as the message boxes show it.
class AutomationError : public std::exception {
public:
    AutomationError(std::int32_t number, std::u16string description);
    std::int32_t number() const noexcept { return number_; }
    const std::u16string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return "automation error"; }

private:
    std::int32_t number_;
    std::u16string description_;
};

// With the library's standard description:
//   5 "Invalid procedure call or argument"   6 "Overflow"   7 "Out of memory"
//   9 "Subscript out of range"   13 "Type mismatch"
//   457 "This key is already associated with an element of this collection"
// and "Application-defined or object-defined error" for any other number.
AutomationError makeError(std::int32_t number);

// The failure an exception stands for: an AutomationError as it is, std::bad_alloc (and any
// other standard length or allocation failure) as "Out of memory", anything else as an invalid
// argument. Lets every failure handler show one description whatever went wrong.
AutomationError failureOf(std::exception_ptr failure) noexcept;

}  // namespace popupmenu
