#include "render/Gradient.h"
#include "render/Pixels.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

constexpr ColorRef kFrom = rgb(10, 36, 106);
constexpr ColorRef kTo = rgb(212, 208, 200);

TEST(GradientColumnColor, FollowsTheExactRoundingOfTheReferenceColumns) {
    struct Case {
        std::int32_t x, w;
        ColorRef color;
    };
    const Case cases[] = {
        {0, 4, rgb(10, 36, 106)},      // column 0 is the start colour exactly
        {1, 4, rgb(60, 79, 130)},      // 60.5 and 129.5: halves go to the even neighbour
        {2, 4, rgb(111, 122, 153)},
        {3, 4, rgb(162, 165, 176)},    // 161.5 and 176.5 go to 162 and 176
        {50, 100, rgb(111, 122, 153)},
        {99, 100, rgb(210, 206, 199)},
        {0, 1, rgb(10, 36, 106)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gradientColumnColor(kFrom, kTo, c.x, c.w), c.color) << "x " << c.x << " of " << c.w;
}

TEST(GradientColumnColor, RunsDownwardsAsWellAsUpwards) {
    // From light to dark the difference is negative; rounding still ties to even.
    EXPECT_EQ(gradientColumnColor(rgb(255, 0, 101), rgb(0, 255, 100), 1, 2), rgb(128, 128, 100));
    EXPECT_EQ(gradientColumnColor(rgb(255, 0, 103), rgb(0, 255, 100), 1, 2), rgb(128, 128, 102));
}

using SelectedGradientTest = RenderTest;

TEST_F(SelectedGradientTest, TheImageOutputHoldsTheReferenceColumnsInEveryRow) {
    add(u"a", u"Open");
    struct Case {
        std::int32_t w;
        std::vector<std::pair<std::int32_t, ColorRef>> columns;
    };
    const Case cases[] = {
        {4, {{0, rgb(10, 36, 106)}, {1, rgb(60, 79, 130)}}},
        {100, {{0, rgb(10, 36, 106)}, {50, rgb(111, 122, 153)}, {99, rgb(210, 206, 199)}}},
    };
    for (const Case& c : cases) {
        platform.clearCalls();
        DrawMenuItem(context, request(1, win::ODS_SELECTED, {0, 0, c.w, 20}));
        ASSERT_EQ(platform.imagesSetToDevice().size(), 1u);
        const std::vector<std::uint32_t>& pixels = platform.imagesSetToDevice()[0].pixels;
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(c.w) * 20);
        for (const auto& [x, color] : c.columns)
            for (std::int32_t y = 0; y < 20; ++y)
                EXPECT_EQ(colorOfPixel(pixels[static_cast<std::size_t>(y) * c.w + x]), color)
                    << "w " << c.w << " column " << x << " row " << y;
    }
}

TEST_F(SelectedGradientTest, BesideAPictureTheGradientStartsAtTheInsetWithTheHighlightColour) {
    add(u"a", u"Open", 3);

    DrawMenuItem(context, request(1, win::ODS_SELECTED, {0, 0, 121, 20}));

    // The gradient first, then the image column's frame.
    ASSERT_EQ(platform.imagesSetToDevice().size(), 2u);
    const ImageSetToDevice& gradient = platform.imagesSetToDevice()[0];
    EXPECT_EQ(gradient.x, 21);
    const std::vector<std::uint32_t>& pixels = gradient.pixels;
    ASSERT_EQ(pixels.size(), 100u * 20);  // w = right - 21
    EXPECT_EQ(colorOfPixel(pixels[0]), kHighlight);
    EXPECT_EQ(colorOfPixel(pixels[50]), gradientColumnColor(kHighlight, kMenu, 50, 100));
}

TEST_F(SelectedGradientTest, AnItemAwayFromTheLeftEdgeShowsTheFirstColumnsOfTheGradient) {
    add(u"a", u"Open");

    // w = right = 130, placed at 10: the 120 columns inside the item are columns 0 to 119 of 130.
    DrawMenuItem(context, request(1, win::ODS_SELECTED, {10, 0, 130, 20}));

    ASSERT_EQ(platform.imagesSetToDevice().size(), 1u);
    const std::vector<std::uint32_t>& pixels = platform.imagesSetToDevice()[0].pixels;
    ASSERT_EQ(pixels.size(), 120u * 20);
    EXPECT_EQ(colorOfPixel(pixels[119]), gradientColumnColor(kHighlight, kMenu, 119, 130));
}

}  // namespace
}  // namespace popupmenu::testing
