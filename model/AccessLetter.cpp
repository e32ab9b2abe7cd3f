#include "model/AccessLetter.h"

#include "model/CaseFolding.h"

namespace popupmenu {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character that starts at `index`: a surrogate pair as one code point, any other unit as
// itself.
char32_t characterAt(std::u16string_view text, std::size_t index) {
    const char16_t unit = text[index];
    if (isHighSurrogate(unit) && index + 1 < text.size() && isLowSurrogate(text[index + 1]))
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[index + 1]) - 0xDC00);
    return unit;
}

}  // namespace

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
