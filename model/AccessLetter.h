#pragma once
// The access letter of a menu label: the character the user types to reach the item, which the
// label shows underlined.

#include <optional>
#include <string_view>

namespace popupmenu {

// The character after a single '&', as DrawText underlines it: "&&" is a literal ampersand, and a
// trailing '&' marks nothing. Of several single '&', DrawText underlines the character after the
// last one (measured under Wine: "&ab&cd" underlines the c), so that one is the letter. A surrogate
// pair after the '&' is one character. None when the label has no access letter.
std::optional<char32_t> accessLetter(std::u16string_view label) noexcept;

// True when `typed`, the UTF-16 character a menu received, is the label's access letter; letter
// case is ignored in every script, with the folding the collection's keys use.
bool typesAccessLetter(std::u16string_view label, char16_t typed) noexcept;

}  // namespace popupmenu
