// The painters under a high-contrast theme: system colours only, a flat highlight, one grey label
// for a disabled item, and the check glyph in the text colour of its row.

#include <functional>
#include <initializer_list>
#include <set>

#include "render/Pixels.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

// The glyph's mark takes the selected brush's colour, its ground leaves the item as it is.
constexpr std::uint32_t kMarkInBrushColor = 0x00B8074A;
constexpr Rect kTallRc{0, 40, 120, 70};  // taller than the 20 rows a gradient covers

class HighContrastTest : public RenderTest {
protected:
    HighContrastTest() { context.highContrast = true; }

    void paint(std::uint32_t state, Rect rc = kTallRc) {
        platform.clearCalls();
        DrawMenuItem(context, request(1, state, rc));
    }
};

// The calls of each painter, with the item's height beyond the gradient's 20 rows. The recording
// platform numbers GDI objects on from one paint to the next; `next` is the number it gives next.
TEST_F(HighContrastTest, EachPainterDrawsWithSystemColoursOnly) {
    Handle next = 0x3000;
    const auto menuBackground = [&] {
        const Handle pen = next++, brush = next++;
        return Calls{{"GetSysColor", {COLOR_MENU}},
                     {"CreatePen", {PS_SOLID, 1, kMenu}},
                     {"CreateSolidBrush", {kMenu}},
                     {"SelectObject", {kItemDC, pen}},
                     {"SelectObject", {kItemDC, brush}},
                     {"Rectangle", {kItemDC, 0, 40, 120, 70}},
                     {"SelectObject", {kItemDC, kStockBrush}},
                     {"SelectObject", {kItemDC, kStockPen}},
                     {"DeleteObject", {brush}},
                     {"DeleteObject", {pen}}};
    };
    // The check with its mark in `color`, through a brush of that colour.
    const auto checkIn = [&](ColorRef color) {
        const Handle brush = next++;
        return Calls{{"CreateSolidBrush", {color}},
                     {"SelectObject", {kItemDC, brush}},
                     {"StretchDIBits", {kItemDC, 2, 42, 16, 16, 0, 0, kMarkInBrushColor}},
                     {"SelectObject", {kItemDC, kStockBrush}},
                     {"DeleteObject", {brush}}};
    };
    const auto join = [](std::initializer_list<Calls> parts) {
        Calls all;
        for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Calls highlightColours{{"GetSysColor", {COLOR_HIGHLIGHT}}, {"GetSysColor", {COLOR_MENU}}};
    const Calls flatHighlight{{"SetDIBitsToDevice", {kItemDC, 0, 40, 120, 30}}};
    const Calls highlightText{{"GetSysColor", {COLOR_HIGHLIGHTTEXT}}, {"SetTextColor", {kItemDC, kHighlightText}}};
    const Calls menuText{{"GetSysColor", {COLOR_MENUTEXT}}, {"SetTextColor", {kItemDC, kMenuText}}};
    const Calls grayText{{"GetSysColor", {COLOR_GRAYTEXT}}};
    const Calls leavesGrayText{{"SetTextColor", {kItemDC, kGrayText}}};

    struct Case {
        const char* what;
        std::uint32_t state;
        std::function<Calls()> calls;  // made just before the paint, in the order of the paints
    };
    const Case cases[] = {
        {"normal", 0, [&] { return join({menuBackground(), menuText}); }},
        {"checked: the check in the menu-text colour", ODS_CHECKED,
         [&] {
             return join({menuBackground(), {{"GetSysColor", {COLOR_MENUTEXT}}}, checkIn(kMenuText), menuText});
         }},
        {"selected: one flat highlight down the whole item", ODS_SELECTED,
         [&] { return join({highlightColours, flatHighlight, highlightText}); }},
        {"selected and checked: the check in the highlight-text colour", ODS_SELECTED | ODS_CHECKED,
         [&] {
             return join({highlightColours, flatHighlight, {{"GetSysColor", {COLOR_HIGHLIGHTTEXT}}},
                          checkIn(kHighlightText), highlightText});
         }},
        {"disabled: menu colour and the grey-text colour for the one label", ODS_DISABLED,
         [&] { return join({grayText, menuBackground(), leavesGrayText}); }},
        {"disabled and checked: the check in the grey-text colour", ODS_DISABLED | ODS_CHECKED,
         [&] { return join({grayText, menuBackground(), checkIn(kGrayText), leavesGrayText}); }},
    };
    add(u"a", u"&Open");
    for (const Case& c : cases) {
        const Calls expected = c.calls();
        paint(c.state);
        EXPECT_EQ(painterCalls(), expected) << c.what;
        expectNothingLeft();
    }
}

TEST_F(HighContrastTest, TheSelectedRowIsOneFlatColourBesideThePicturesFrame) {
    add(u"a", u"Open", 3);

    paint(ODS_SELECTED);

    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_HIGHLIGHT}},
                                     {"GetSysColor", {COLOR_MENU}},
                                     {"SetDIBitsToDevice", {kItemDC, 21, 40, 99, 30}},
                                     {"SetDIBitsToDevice", {kItemDC, 0, 40, 20, 30}},
                                     {"DrawEdge", {kItemDC, 0, 40, 19, 60, BDR_RAISEDINNER, BF_RECT}},
                                     {"ImageList_Draw", {kImageList, 3, kItemDC, 2, 42, ILD_TRANSPARENT}},
                                     {"GetSysColor", {COLOR_HIGHLIGHTTEXT}},
                                     {"SetTextColor", {kItemDC, kHighlightText}}}));
    ASSERT_EQ(platform.imagesSetToDevice().size(), 2u);
    EXPECT_EQ(platform.imagesSetToDevice()[0].pixels, std::vector<std::uint32_t>(99 * 30, pixelOfColor(kHighlight)));
    EXPECT_EQ(platform.imagesSetToDevice()[1].pixels, std::vector<std::uint32_t>(20 * 30, pixelOfColor(kMenu)));
    expectNothingLeft();
}

// Every colour a painter or the label uses, in every state, with and without pictures, is one of
// the system colours; the label is drawn once, where every label goes. (The embossed picture of a
// disabled item is a picture, drawn as the system draws disabled ones, and is not looked at.)
TEST_F(HighContrastTest, EveryStateUsesSystemColoursAndDrawsOneLabel) {
    const std::set<ColorRef> systemColours{kMenu, kMenuText, kHighlight, kHighlightText, kGrayText};
    const std::uint32_t states[] = {0,
                                    ODS_CHECKED,
                                    ODS_SELECTED,
                                    ODS_SELECTED | ODS_CHECKED,
                                    ODS_DISABLED,
                                    ODS_DISABLED | ODS_CHECKED,
                                    ODS_SELECTED | ODS_GRAYED};
    struct Pictures {
        std::int32_t normal, checked;
    };
    const Pictures pictures[] = {{-1, -1}, {3, -1}, {3, 4}, {-1, 4}};
    for (const Pictures& p : pictures) {
        items->Clear();
        add(u"a", u"&Open", p.normal, p.checked);
        for (std::uint32_t state : states) {
            SCOPED_TRACE(::testing::Message() << "itemState 0x" << std::hex << state << std::dec << " pictures "
                                              << p.normal << ", " << p.checked);
            paint(state);
            for (const Call& c : platform.calls()) {
                if (c.name == "CreatePen") {
                    EXPECT_TRUE(systemColours.count(static_cast<ColorRef>(c.args[2])));
                } else if (c.name == "CreateSolidBrush" || c.name == "SetTextColor") {
                    EXPECT_TRUE(systemColours.count(static_cast<ColorRef>(c.args.back()))) << c.name;
                }
                // Only the system's own rendering of a disabled picture may emboss.
                if (c.name == "DrawStateW") ADD_FAILURE() << "an embossed check";
            }
            const bool inactive = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
            const bool embossedPicture = inactive && (state & ODS_CHECKED) == 0 && p.normal >= 0;
            for (const ImageSetToDevice& image : platform.imagesSetToDevice()) {
                if (embossedPicture && image.x == 1 && image.y == 41) continue;
                for (std::uint32_t pixel : image.pixels)
                    ASSERT_TRUE(systemColours.count(colorOfPixel(pixel))) << "pixel 0x" << std::hex << pixel;
            }
            const Calls labels = platform.callsNamed({"DrawTextW"});
            ASSERT_EQ(labels.size(), 1u);
            EXPECT_EQ(labels[0], (Call{"DrawTextW", {kItemDC, 5, 23, 43, 120, 63, 0}, u"&Open"}));
            expectNothingLeft();
        }
    }
}

}  // namespace
}  // namespace popupmenu::testing
