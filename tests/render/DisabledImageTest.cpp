#include "render/DisabledImage.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/Pixels.h"

namespace popupmenu::testing {
namespace {

constexpr ColorRef kMenu = 0xC8D0D4;
constexpr ColorRef kGray = 0x808080;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBackground = 0x0A0B0C;  // what the destination showed before

TEST(ClassifyPixel, LightIsTestedBeforeTheMenuColour) {
    struct Case {
        ColorRef color, menu;
        PixelClass expected;
    };
    const Case cases[] = {
        {0xFFFFF0, kMenu, PixelClass::Ink},    // red 240: not light
        {0xFFFFF1, kMenu, PixelClass::Light},  // red 241
        {0xFFFFFF, kMenu, PixelClass::Light},
        {0x00FFFF00, kMenu, PixelClass::Ink},  // cyan
        {kMenu, kMenu, PixelClass::MenuColored},
        {0x000000, kMenu, PixelClass::Ink},
        {0xFFFFFF, 0xFFFFFF, PixelClass::Light},  // a white menu's own colour counts as light
        {0xFFFFF8, 0xFFFFF8, PixelClass::Light},
        {0xFFFFF0, 0xFFFFF0, PixelClass::MenuColored},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classifyPixel(c.color, c.menu), c.expected) << std::hex << c.color << " on menu " << c.menu;
}

// A w x h source and a destination one column and row larger, so that the shifted highlight
// beyond the image shows.
struct Images {
    std::int32_t w, h;
    std::vector<std::uint32_t> source, destination;

    Images(std::int32_t width, std::int32_t height, ColorRef fill)
        : w(width), h(height),
          source(static_cast<std::size_t>(width * height), pixelOfColor(fill)),
          destination(static_cast<std::size_t>((width + 1) * (height + 1)), pixelOfColor(kBackground)) {}

    void set(std::int32_t x, std::int32_t y, ColorRef color) { source[static_cast<std::size_t>(y * w + x)] = pixelOfColor(color); }
    ColorRef at(std::int32_t x, std::int32_t y) const {
        return colorOfPixel(destination[static_cast<std::size_t>(y * (w + 1) + x)]);
    }
    void emboss(ColorRef menu = kMenu) {
        DrawImageDisabled(h, w, {source.data(), w, h}, {destination.data(), w + 1, h + 1}, menu, kGray);
    }
};

TEST(DrawImageDisabled, AnInkPixelTurnsGreyWithAWhitePixelRightAndBelow) {
    Images images(4, 4, kMenu);
    images.set(1, 1, 0x123456);

    images.emboss();

    EXPECT_EQ(images.at(1, 1), kGray);
    EXPECT_EQ(images.at(2, 2), kWhite);
    // Menu-coloured pixels show the shifted highlight (the menu colour), row 0 and column 0
    // keep what the destination showed, and the two far corners stay untouched.
    EXPECT_EQ(images.at(3, 3), kMenu);
    EXPECT_EQ(images.at(4, 4), kMenu);
    EXPECT_EQ(images.at(0, 2), kBackground);
    EXPECT_EQ(images.at(2, 0), kBackground);
    EXPECT_EQ(images.at(4, 0), kBackground);
    EXPECT_EQ(images.at(0, 4), kBackground);
}

TEST(DrawImageDisabled, InkBesideInkStaysGrey) {
    Images images(4, 4, kMenu);
    images.set(1, 1, 0x000000);
    images.set(2, 2, 0x000000);

    images.emboss();

    EXPECT_EQ(images.at(1, 1), kGray);
    EXPECT_EQ(images.at(2, 2), kGray);
    EXPECT_EQ(images.at(3, 3), kWhite);
}

TEST(DrawImageDisabled, InkInTheLastColumnAndRowThrowsItsHighlightBeyondTheImage) {
    Images images(3, 3, kMenu);
    images.set(2, 2, 0x000000);

    images.emboss();

    EXPECT_EQ(images.at(2, 2), kGray);
    EXPECT_EQ(images.at(3, 3), kWhite);
}

TEST(DrawImageDisabled, LightPixelsAreTheMenuColourOredOverWhatLiesUnder) {
    Images images(3, 3, kMenu);
    images.set(0, 0, 0xFFFFF1);
    images.set(1, 1, 0xFFFFFF);
    images.set(2, 1, 0xFFFFF0);  // ink after all

    images.emboss();

    EXPECT_EQ(images.at(0, 0), kBackground | kMenu);  // row 0: what was there, OR the menu colour
    EXPECT_EQ(images.at(1, 1), kMenu);                // the shifted light pixel (menu) OR menu
    EXPECT_EQ(images.at(2, 1), kGray);
    EXPECT_EQ(images.at(3, 2), kWhite);
}

TEST(DrawImageDisabled, OnAWhiteMenuWhitePixelsAreLightNotMenuColoured) {
    Images images(2, 2, kWhite);
    images.set(0, 0, 0x202020);

    images.emboss(kWhite);

    // Light pixels get ink = the menu colour (white) OR-ed in; a menu-coloured pixel would
    // instead have kept the shifted highlight under an ink of black.
    EXPECT_EQ(images.at(0, 0), kGray);
    EXPECT_EQ(images.at(1, 1), kWhite);
    EXPECT_EQ(images.at(0, 1), kWhite);  // D0 OR white
}

TEST(DrawImageDisabled, AnImageOfTheMenuColourOnlyShowsItsShiftedCopy) {
    Images images(3, 3, kMenu);

    images.emboss();

    for (std::int32_t y = 0; y <= 3; ++y) {
        for (std::int32_t x = 0; x <= 3; ++x) {
            const bool corner = (x == 3 && y == 0) || (x == 0 && y == 3);
            const ColorRef expected = (x == 0 || y == 0 || corner) ? kBackground : kMenu;
            EXPECT_EQ(images.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST(DrawImageDisabled, NeverReadsOrWritesOutsideItsSurfaces) {
    // A 4 x 4 request on a 2 x 2 source into a 2 x 2 destination: only 2 x 2 is classified, and
    // the shifted highlight and the composition stop at the destination's edge (ASan checks).
    std::vector<std::uint32_t> source(4, 0), destination(4, pixelOfColor(kBackground));

    DrawImageDisabled(4, 4, {source.data(), 2, 2}, {destination.data(), 2, 2}, kMenu, kGray);

    EXPECT_EQ(colorOfPixel(destination[0]), kGray);
    EXPECT_EQ(colorOfPixel(destination[3]), kGray);
}

TEST(DrawImageDisabled, AnEmptyImageChangesNothing) {
    std::vector<std::uint32_t> source(4, 0), destination(4, pixelOfColor(kBackground));

    DrawImageDisabled(0, 2, {source.data(), 2, 2}, {destination.data(), 2, 2}, kMenu, kGray);
    DrawImageDisabled(2, 0, {source.data(), 2, 2}, {destination.data(), 2, 2}, kMenu, kGray);

    EXPECT_EQ(destination, std::vector<std::uint32_t>(4, pixelOfColor(kBackground)));
}

TEST(DrawImageDisabled, TheTopByteOfASourcePixelIsNotPartOfItsColour) {
    // Drawing operations may leave alpha in a 32-bit surface; a pixel read ignores it.
    std::vector<std::uint32_t> source{0xFF000000 | pixelOfColor(kMenu)}, destination(4, pixelOfColor(kBackground));

    DrawImageDisabled(1, 1, {source.data(), 1, 1}, {destination.data(), 2, 2}, kMenu, kGray);

    EXPECT_EQ(destination[3], pixelOfColor(kMenu));  // the shifted highlight: the source pixel, menu-coloured
    EXPECT_EQ(destination[0], pixelOfColor(kBackground));
}

}  // namespace
}  // namespace popupmenu::testing
