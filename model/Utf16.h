#pragma once
// Reading and writing UTF-16 one code point at a time, for the case folding and the access letters.

#include <cstddef>
#include <string>
#include <string_view>

namespace popupmenu {

inline bool isHighSurrogate(char16_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(char16_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character that starts at `index` (< text.size()): a surrogate pair as one code point, any
// other unit, a lone surrogate included, as itself.
inline char32_t characterAt(std::u16string_view text, std::size_t index) noexcept {
    const char16_t unit = text[index];
    if (isHighSurrogate(unit) && index + 1 < text.size() && isLowSurrogate(text[index + 1]))
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[index + 1]) - 0xDC00);
    return unit;
}

// How many code units the character `characterAt` read takes: 2 for a pair, else 1.
inline std::size_t unitsOf(char32_t character) noexcept { return character >= 0x10000 ? 2 : 1; }

inline void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

}  // namespace popupmenu
