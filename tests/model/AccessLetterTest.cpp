// A label's access letter is the character DrawText underlines, and a typed character matches it
// whatever its letter case, in every script.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model/AccessLetter.h"
#include "tests/support/RecordingPlatform.h"

namespace popupmenu::testing {
namespace {

TEST(AccessLetter, IsTheCharacterDrawTextUnderlines) {
    struct Case {
        const char16_t* label;
        std::optional<char32_t> letter;
    };
    const Case cases[] = {
        {u"&Open", U'O'},
        {u"E&xit", U'x'},
        {u"Open", std::nullopt},
        {u"", std::nullopt},
        {u"Tools && Options", std::nullopt},  // a doubled ampersand shows one and marks nothing
        {u"&&&Keep", U'K'},                   // a literal ampersand, then the letter
        {u"Save &", std::nullopt},            // a trailing ampersand marks nothing
        {u"&", std::nullopt},
        {u"&&&", std::nullopt},
        {u"A&&B&c", U'c'},
        // Measured under Wine: DrawText underlines the character after the last single ampersand.
        {u"&ab&cd", U'c'},
        {u"&\u00C4rger", U'\u00C4'},            // Ärger
        {u"&\u0416\u0443\u043A", U'\u0416'},    // Жук
        {u"Archive &2019", U'2'},
        {u"& spaced", U' '},
        {u"&\U00010400x", U'\U00010400'},       // a surrogate pair is one character
    };
    for (const Case& c : cases) EXPECT_EQ(accessLetter(c.label), c.letter) << toUtf8(c.label);
}

TEST(AccessLetter, TypedCharacterMatchesInAnyLetterCase) {
    struct Case {
        const char16_t* label;
        char16_t typed;
        bool matches;
    };
    const Case cases[] = {
        {u"&Open", u'o', true},
        {u"&Open", u'O', true},
        {u"E&xit", u'X', true},
        {u"&Open", u'p', false},
        {u"Tools && Options", u'&', false},
        {u"Tools && Options", u'o', false},
        {u"&\u00C4rger", u'\u00E4', true},       // Ärger by ä
        {u"&\u00E4rger", u'\u00C4', true},       // ärger by Ä
        {u"&\u00C4rger", u'a', false},           // no folding of accents away
        {u"&\u03A3\u03BF\u03C6\u03AF\u03B1", u'\u03C3', true},  // Σοφία by σ
        {u"&\u03A3\u03BF\u03C6\u03AF\u03B1", u'\u03C2', true},  // and by the final sigma ς
        {u"&\u0416\u0443\u043A", u'\u0436', true},               // Жук by ж
        {u"&\u0416\u0443\u043A", u'\u0437', false},              // not by з
        {u"&Kelvin", u'\u212A', true},           // the Kelvin sign folds to k
        {u"Archive &2019", u'2', true},
        {u"Archive &2019", u'A', false},
        // One UTF-16 unit never stands for a character outside the Basic Multilingual Plane.
        {u"&\U00010400x", u'\xD801', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(typesAccessLetter(c.label, c.typed), c.matches)
            << toUtf8(c.label) << " typed U+" << std::hex << static_cast<unsigned>(c.typed);
}

}  // namespace
}  // namespace popupmenu::testing
