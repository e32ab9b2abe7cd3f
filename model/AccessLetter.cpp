#include "model/AccessLetter.h"

#include "model/CaseFolding.h"
#include "model/Utf16.h"

namespace popupmenu {

std::optional<char32_t> accessLetter(std::u16string_view label) noexcept {
    std::optional<char32_t> letter;
    for (std::size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != u'&') continue;
        if (label[i + 1] == u'&') {
            ++i;  // a literal ampersand, which marks nothing
        } else {
            letter = characterAt(label, i + 1);
        }
    }
    return letter;
}

bool typesAccessLetter(std::u16string_view label, char16_t typed) noexcept {
    const std::optional<char32_t> letter = accessLetter(label);
    return letter && foldCase(*letter) == foldCase(char32_t{typed});
}

}  // namespace popupmenu
