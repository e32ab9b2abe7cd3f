// Case folding of UTF-16 text, one code point at a time.

#include "model/CaseFolding.h"

#include "model/Utf16.h"

namespace popupmenu {

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        // A lone surrogate folds to itself: the table maps no surrogate code point.
        const char32_t character = characterAt(text, i);
        appendUtf16(folded, foldCase(character));
        i += unitsOf(character);
    }
    return folded;
}

}  // namespace popupmenu
