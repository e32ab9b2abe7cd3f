#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using DrawMenuItemTest = RenderTest;
using namespace win;

constexpr std::uint32_t kMergePaint = 0x00BB0226;
// State bits that never choose another painter: focus, default, hot-light, inactive and
// no-accelerator (which only hides the underlines).
constexpr std::uint32_t kOtherStates = 0x10 | 0x20 | 0x40 | 0x80 | ODS_NOACCEL;

enum class Glyph { None, White, Black, Embossed };

// What a painter leaves behind that tells the painters apart.
struct Painted {
    bool gradient = false;
    bool menuBackground = false;
    bool greyLabel = false;
    Glyph glyph = Glyph::None;
    ColorRef textColor = 0;
    friend bool operator==(const Painted&, const Painted&) = default;
};

std::ostream& operator<<(std::ostream& out, const Painted& p) {
    return out << "{gradient " << p.gradient << ", background " << p.menuBackground << ", grey label " << p.greyLabel
               << ", glyph " << static_cast<int>(p.glyph) << ", text colour 0x" << std::hex << p.textColor << std::dec
               << "}";
}

const Painted kSelected{.gradient = true, .textColor = kHighlightText};
const Painted kSelectedChecked{.gradient = true, .glyph = Glyph::White, .textColor = kHighlightText};
const Painted kDisabled{.greyLabel = true, .textColor = 0xFFFFFF};
const Painted kDisabledChecked{.greyLabel = true, .glyph = Glyph::Embossed, .textColor = 0xFFFFFF};
const Painted kChecked{.menuBackground = true, .glyph = Glyph::Black, .textColor = kMenuText};
const Painted kNormal{.menuBackground = true, .textColor = kMenuText};

Painted observe(const Calls& calls) {
    Painted p;
    for (const Call& c : calls) {
        if (c.name == "SetDIBitsToDevice") p.gradient = true;  // the items here have no picture
        if (c.name == "Rectangle") p.menuBackground = true;
        if (c.name == "DrawTextW") p.greyLabel = true;
        if (c.name == "StretchDIBits" && c.args[7] == kMergePaint) p.glyph = Glyph::White;
        if (c.name == "StretchDIBits" && c.args[7] == SRCAND) p.glyph = Glyph::Black;
        if (c.name == "DrawStateW") p.glyph = Glyph::Embossed;
        if (c.name == "SetTextColor") p.textColor = static_cast<ColorRef>(c.args[1]);
    }
    return p;
}

TEST_F(DrawMenuItemTest, ThePainterFollowsTheItemState) {
    struct Case {
        std::uint32_t state;
        Painted painted;
    };
    const Case cases[] = {
        {0, kNormal},
        {ODS_CHECKED, kChecked},
        {ODS_SELECTED, kSelected},
        {ODS_SELECTED | ODS_CHECKED, kSelectedChecked},
        {ODS_GRAYED, kDisabled},  // grayed alone is inactive
        {ODS_DISABLED, kDisabled},
        {ODS_GRAYED | ODS_DISABLED, kDisabled},
        {ODS_GRAYED | ODS_CHECKED, kDisabledChecked},
        {ODS_DISABLED | ODS_CHECKED, kDisabledChecked},
        {ODS_SELECTED | ODS_GRAYED, kDisabled},  // inactive wins over selected
        {ODS_SELECTED | ODS_DISABLED, kDisabled},
        {ODS_SELECTED | ODS_GRAYED | ODS_DISABLED, kDisabled},
        {ODS_SELECTED | ODS_GRAYED | ODS_CHECKED, kDisabledChecked},
        {ODS_SELECTED | ODS_DISABLED | ODS_CHECKED, kDisabledChecked},
        {ODS_SELECTED | ODS_GRAYED | ODS_DISABLED | ODS_CHECKED, kDisabledChecked},
        {ODS_GRAYED | ODS_DISABLED | ODS_CHECKED, kDisabledChecked},
    };
    add(u"a", u"Open");
    for (const Case& c : cases) {
        for (std::uint32_t others : {0u, kOtherStates}) {
            platform.clearCalls();
            DrawMenuItem(context, request(1, c.state | others));
            EXPECT_EQ(observe(painterCalls()), c.painted) << "itemState 0x" << std::hex << (c.state | others);
            expectNothingLeft();
        }
    }
}

TEST_F(DrawMenuItemTest, TheLabelGoesRightOfTheImageColumnInARectangle20PixelsHigh) {
    add(u"a", u"&Open\nSecond line");
    const Rect rects[] = {{0, 40, 120, 60}, {0, 0, 200, 45}, {5, 100, 80, 118}};
    for (const Rect& rc : rects) {
        for (std::uint32_t state : {0u, ODS_SELECTED, ODS_CHECKED}) {
            platform.clearCalls();
            DrawMenuItem(context, request(1, state, rc));
            ASSERT_FALSE(platform.calls().empty());
            EXPECT_EQ(platform.calls().front(), (Call{"RtlMoveMemory", {48}}));
            EXPECT_EQ(platform.calls()[1], (Call{"SetBkMode", {kItemDC, TRANSPARENT}}));
            EXPECT_EQ(platform.calls().back(), (Call{"DrawTextW",
                                                     {kItemDC, 17, rc.left + 23, rc.top + 3, rc.right, rc.top + 23, 0},
                                                     u"&Open\nSecond line"}));
        }
    }
}

TEST_F(DrawMenuItemTest, ADisabledLabelIsGreyThenWhiteOnePixelRightAndDown) {
    add(u"a", u"Open");

    DrawMenuItem(context, request(1, ODS_DISABLED, {0, 40, 120, 70}));

    EXPECT_EQ(platform.callsNamed({"SetTextColor", "DrawTextW"}),
              (Calls{{"SetTextColor", {kItemDC, kGrayText}},
                     {"DrawTextW", {kItemDC, 4, 22, 42, 120, 70, 0}, u"Open"},
                     {"SetTextColor", {kItemDC, 0xFFFFFF}},
                     {"DrawTextW", {kItemDC, 4, 23, 43, 120, 63, 0}, u"Open"}}));
}

// While the system hides keyboard cues (ODS_NOACCEL), every copy of the label is drawn without
// underlines, in every state and theme; otherwise the prefixes are processed as usual.
TEST_F(DrawMenuItemTest, HiddenKeyboardCuesHideTheUnderlinesOfEveryCopyOfTheLabel) {
    add(u"a", u"&Open");
    const std::uint32_t states[] = {0, ODS_CHECKED, ODS_SELECTED, ODS_SELECTED | ODS_CHECKED, ODS_DISABLED,
                                    ODS_GRAYED | ODS_CHECKED};
    for (bool highContrast : {false, true}) {
        context.highContrast = highContrast;
        for (std::uint32_t state : states) {
            for (bool hidden : {false, true}) {
                platform.clearCalls();
                DrawMenuItem(context, request(1, state | (hidden ? ODS_NOACCEL : 0)));
                const Calls labels = platform.callsNamed({"DrawTextW"});
                ASSERT_FALSE(labels.empty());
                for (const Call& label : labels)
                    EXPECT_EQ(label.args.at(6), hidden ? static_cast<long long>(DT_HIDEPREFIX) : 0)
                        << "itemState 0x" << std::hex << state << " high contrast " << highContrast << " hidden "
                        << hidden;
            }
        }
    }
}

TEST_F(DrawMenuItemTest, RequestsThatNameNoItemDrawNothing) {
    add(u"a", u"Open");
    RenderContext noCollection = context;
    noCollection.items = nullptr;

    DrawMenuItem(context, request(9, ODS_SELECTED));
    DrawMenuItem(noCollection, request(1, ODS_SELECTED));
    request(1, ODS_SELECTED);
    drawItem.CtlType = 4;  // a button
    DrawMenuItem(context, reinterpret_cast<LParam>(&drawItem));

    EXPECT_EQ(platform.calls(), (Calls{{"RtlMoveMemory", {48}}, {"RtlMoveMemory", {48}}, {"RtlMoveMemory", {48}}}));
}

TEST_F(DrawMenuItemTest, FindsASubmenuItemByItsMenuHandle) {
    add(u"a", u"First");
    add(u"b", u"More");
    items->setItemID(2, 0x1004);

    DrawMenuItem(context, request(0x1004, 0));

    EXPECT_EQ(platform.calls().back().text, u"More");
}

TEST_F(DrawMenuItemTest, TheLabelCountIsInUtf16CodeUnits) {
    add(u"a", u"\U0001F600 x");

    DrawMenuItem(context, request(1, 0));

    EXPECT_EQ(platform.calls().back().args[1], 4);
}

TEST_F(DrawMenuItemTest, LabelArithmeticStaysInRange) {
    add(u"a", u"Open");
    const std::int32_t big = 0x7FFFFFF0;

    DrawMenuItem(context, request(1, 0, {big, big, big, big}));

    const Call& label = platform.calls().back();
    EXPECT_EQ(label.args[2], 0x7FFFFFFF);
    EXPECT_EQ(label.args[3], 0x7FFFFFF3);
    EXPECT_EQ(label.args[5], 0x7FFFFFFF);
}

}  // namespace
}  // namespace popupmenu::testing
