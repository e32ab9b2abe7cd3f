// Keys ignore letter case in every script, through the generated folding table.

#include <gtest/gtest.h>

#include <string>

#include "model/CaseFolding.h"
#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

using namespace std::string_literals;

struct Pair {
    const char* what;
    std::u16string a;
    std::u16string b;
};

const Pair kSameKey[] = {
    {"ASCII", u"File", u"fILE"},
    {"Latin-1", u"\u00C4RGER", u"\u00E4rger"},                       // ÄRGER / ärger
    {"Latin Extended-A", u"\u0141\u00D3D\u0179", u"\u0142\u00F3d\u017A"},  // ŁÓDŹ / łódź
    {"y with diaeresis", u"\u0178", u"\u00FF"},                      // Ÿ / ÿ
    {"Greek sigma", u"\u03A3\u03A3", u"\u03C3\u03C2"},               // ΣΣ / σς
    {"Greek with tonos", u"\u0386\u0388", u"\u03AC\u03AD"},          // ΆΈ / άέ
    {"Cyrillic", u"\u041F\u0420\u0418\u0412\u0415\u0422", u"\u043F\u0440\u0438\u0432\u0435\u0442"},  // ПРИВЕТ
    {"Armenian", u"\u0531\u0532", u"\u0561\u0562"},                  // ԱԲ / աբ
    {"Georgian", u"\u10A0", u"\u2D00"},                              // Ⴀ / ⴀ
    {"Cherokee", u"\u13A0", u"\uAB70"},
    {"titlecase digraph", u"\u01C5", u"\u01C6"},                     // ǅ / ǆ
    {"titlecase and upper digraph", u"\u01C4", u"\u01C5"},           // Ǆ / ǅ
    {"Kelvin sign", u"\u212A", u"k"},
    {"Ohm sign", u"\u2126", u"\u03C9"},
    {"long s", u"\u017F", u"S"},
    {"capital sharp s", u"\u1E9E", u"\u00DF"},                       // ẞ / ß
    {"fullwidth Latin", u"\uFF21", u"\uFF41"},                       // Ａ / ａ
    {"Deseret (surrogate pairs)", u"\U00010400", u"\U00010428"},
    {"Adlam (surrogate pairs)", u"\U0001E900", u"\U0001E922"},
    {"embedded NUL", u"A\0B"s, u"a\0b"s},
};

const Pair kDifferentKeys[] = {
    {"different letters", u"a", u"b"},
    {"accent matters", u"e", u"\u00E9"},
    {"no multi-letter folding", u"\u00DF", u"ss"},
    {"text after NUL counts", u"a\0b"s, u"a\0c"s},
    {"NUL is not the end", u"a\0"s, u"a"},
    {"different lone surrogates", u"\xD800"s, u"\xD801"s},
    {"lone surrogate is not its pair", u"\xD801"s, u"\U00010400"},
    {"Latin a is not Cyrillic a", u"a", u"\u0430"},
};

TEST(CaseFoldingTest, LettersThatDifferOnlyInCaseFoldAlike) {
    for (const auto& c : kSameKey) EXPECT_EQ(foldCase(c.a), foldCase(c.b)) << c.what;
    for (const auto& c : kDifferentKeys) EXPECT_NE(foldCase(c.a), foldCase(c.b)) << c.what;
}

TEST(CaseFoldingTest, FoldingIsStableAndKeepsLength) {
    // A folded code point folds to itself, and folding never moves a code point between the
    // basic plane and the supplementary planes (so the UTF-16 length stays the same).
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const char32_t folded = foldCase(c);
        ASSERT_EQ(foldCase(folded), folded) << std::hex << static_cast<std::uint32_t>(c);
        ASSERT_EQ(c > 0xFFFF, folded > 0xFFFF) << std::hex << static_cast<std::uint32_t>(c);
        if (c >= 0xD800 && c <= 0xDFFF) {
            ASSERT_EQ(folded, c);
        }
    }
    const std::u16string mixed = u"Ab\0\xD800\U00010400"s;
    EXPECT_EQ(foldCase(mixed), u"ab\0\xD800\U00010428"s);
}

class CaseInsensitiveKeyTest : public CollectionTest {};

TEST_F(CaseInsensitiveKeyTest, KeysThatDifferOnlyInCaseAreOneKeyInEveryScript) {
    for (const auto& c : kSameKey) {
        SCOPED_TRACE(c.what);
        items->Clear();
        const auto stored = items->Add(S(c.a), u"first");
        ASSERT_TRUE(stored);
        EXPECT_FALSE(items->Add(S(c.b), u"second"));
        EXPECT_EQ(newBoxes(), (Boxes{{kDuplicateKey, kWarning}}));
        EXPECT_EQ(items->MenuItem(S(c.b)).get(), stored.get());
        EXPECT_EQ(stored->Text(), u"first");
        items->Remove(S(c.b));
        EXPECT_EQ(items->Count(), 0);
        EXPECT_EQ(newBoxes(), Boxes{});
    }
}

TEST_F(CaseInsensitiveKeyTest, KeysOfDifferentTextStayApart) {
    for (const auto& c : kDifferentKeys) {
        SCOPED_TRACE(c.what);
        items->Clear();
        ASSERT_TRUE(items->Add(S(c.a), u"first"));
        ASSERT_TRUE(items->Add(S(c.b), u"second"));
        EXPECT_EQ(items->MenuItem(S(c.a))->Text(), u"first");
        EXPECT_EQ(items->MenuItem(S(c.b))->Text(), u"second");
    }
    EXPECT_EQ(boxes(), Boxes{});
}

}  // namespace
}  // namespace popupmenu::testing
