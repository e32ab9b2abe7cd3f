// The selection gradient painted by real GDI into a DIB section.

#include "render/Gradient.h"
#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

using GradientPixelTest = PixelTest;

TEST_F(GradientPixelTest, ReferenceColumnsAppearExactlyInEveryRow) {
    add(u"a", u"");
    struct Case {
        int w;
        std::vector<std::pair<int, COLORREF>> columns;
    };
    const Case cases[] = {
        {4, {{0, RGB(10, 36, 106)}, {1, RGB(60, 79, 130)}}},
        {100, {{0, RGB(10, 36, 106)}, {50, RGB(111, 122, 153)}, {99, RGB(210, 206, 199)}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(c.w + 4, 24);
        ASSERT_TRUE(canvas.ready());
        draw(canvas, 1, ODS_SELECTED, {0, 0, c.w, 20});
        for (const auto& [x, color] : c.columns)
            for (int y = 0; y < 20; ++y)
                ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{color}) << "w " << c.w << " column " << x << " row " << y;
        // Nothing outside the item changes.
        for (int y = 0; y < 24; ++y)
            for (int x = c.w; x < c.w + 4; ++x) ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{kUntouched}) << x << "," << y;
    }
}

TEST_F(GradientPixelTest, EveryColumnFollowsTheSystemsOwnColours) {
    platform.scheme.clear();
    add(u"a", u"");
    Canvas canvas(100, 20);

    draw(canvas, 1, ODS_SELECTED, {0, 0, 100, 20});

    const COLORREF from = GetSysColor(COLOR_HIGHLIGHT), to = GetSysColor(COLOR_MENU);
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; y += 19)
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{gradientColumnColor(from, to, x, 100)}) << x << "," << y;
}

TEST_F(GradientPixelTest, BelowTwentyRowsATallItemKeepsWhatItShowed) {
    add(u"a", u"");
    Canvas canvas(100, 32);

    draw(canvas, 1, ODS_SELECTED, {0, 0, 100, 32});

    for (int x = 0; x < 100; x += 11) {
        EXPECT_EQ(Colour{canvas.at(x, 19)}, Colour{gradientColumnColor(highlight(), menu(), x, 100)}) << x;
        for (int y = 20; y < 32; ++y) ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{kUntouched}) << x << "," << y;
    }
}

}  // namespace
}  // namespace popupmenu::testing
