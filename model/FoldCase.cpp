// Case folding of UTF-16 text, one code point at a time.

#include "model/CaseFolding.h"

namespace popupmenu {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

}  // namespace

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            const char32_t codePoint = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            appendUtf16(folded, foldCase(codePoint));
            ++i;
        } else {
            // A lone surrogate folds to itself: the table maps no surrogate code point.
            appendUtf16(folded, foldCase(char32_t(unit)));
        }
    }
    return folded;
}

}  // namespace popupmenu
