// The pictures a pop-up keeps: drawn once into one surface, then output by the painters instead of
// being drawn from the image list again, wherever that leaves the same pixels.

#include "render/PictureCache.h"
#include "render/Pixels.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

// Picture `index` as the fake image list draws it: every pixel of its own colour but the top-left
// one, which it leaves transparent.
std::uint32_t inkOf(std::int32_t index) { return 0x100000u * static_cast<std::uint32_t>(index + 1) + 0x2233; }

// The renderer tests' scene with a picture cache, and an image list that draws each picture into
// the surface it is given; each case of a table gets one of its own.
struct Scene : RenderScene {
    Scene() {
        // Draws each picture, of the context's icon size, into the DIB section of `dc`.
        platform.onImageListDraw = [this](Handle dc, std::int32_t index, std::int32_t x, std::int32_t y) {
            std::vector<std::uint32_t>* pixels = platform.dibIn(dc);
            if (pixels == nullptr) return;  // the item's own DC: nothing to simulate
            for (std::int32_t row = 0; row < context.iconHeight; ++row)
                for (std::int32_t column = 0; column < context.iconWidth; ++column)
                    if (row != 0 || column != 0)
                        (*pixels)[static_cast<std::size_t>(y + row) * dibWidth + x + column] = inkOf(index);
        };
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    PictureCache::Source source(ColorRef ground = kMenu) const {
        return {kImageList, context.iconWidth, context.iconHeight, ground};
    }

    void add(std::int32_t normalPicture, std::int32_t checkedPicture = -1) {
        RenderScene::add(u"a", u"Open", normalPicture, checkedPicture);
    }

    // Keeps `indices` as a menu's opening would, with the calls it made recorded alone.
    void keep(const std::vector<std::int32_t>& indices, std::int32_t surfaceWidth = 16) {
        context.pictures = &cache;
        dibWidth = static_cast<std::size_t>(surfaceWidth);
        platform.clearCalls();
        KeepPictures(context, indices);
    }

    void paint(std::uint32_t state, Rect rc = {0, 40, 120, 60}) {
        platform.clearCalls();
        DrawMenuItem(context, request(1, state, rc));
    }

    // Nothing made is left alive or was deleted while selected.
    bool nothingLeft() const {
        return platform.liveGdiObjects().empty() && platform.liveMemoryDCs().empty() &&
               platform.deletedWhileSelected().empty();
    }

    PictureCache cache;
    std::size_t dibWidth = 16;  // the width of the surface the image list draws into
};

TEST(KeptPictureTest, AMenusPicturesAreDrawnOnceEachIntoOneSurface) {
    Scene t;
    t.keep({3, 5, 3, -1, 0});

    const Handle surfaceDC = 0x2000, surfaceBitmap = 0x3000;
    EXPECT_EQ(t.platform.calls(), (Calls{{"GetSysColor", {COLOR_MENU}},
                                         {"CreateCompatibleDC", {0}},
                                         {"CreateDIBSection", {16, 48}},
                                         {"SelectObject", {surfaceDC, surfaceBitmap}},
                                         {"ImageList_Draw", {kImageList, 3, surfaceDC, 0, 0, ILD_TRANSPARENT}},
                                         {"ImageList_Draw", {kImageList, 5, surfaceDC, 0, 16, ILD_TRANSPARENT}},
                                         {"ImageList_Draw", {kImageList, 0, surfaceDC, 0, 32, ILD_TRANSPARENT}},
                                         {"GdiFlush"},
                                         {"DeleteDC", {surfaceDC}},
                                         {"DeleteObject", {surfaceBitmap}}}));
    EXPECT_TRUE(t.nothingLeft());
    for (const std::int32_t index : {3, 5, 0}) {
        const PixelView* kept = t.cache.find(t.source(), index);
        ASSERT_NE(kept, nullptr) << index;
        EXPECT_EQ(kept->at(0, 0), pixelOfColor(kMenu)) << "the transparent pixel shows the ground";
        EXPECT_EQ(kept->at(1, 0), inkOf(index));
        EXPECT_EQ(kept->at(15, 15), inkOf(index));
    }
    EXPECT_EQ(t.cache.find(t.source(), -1), nullptr);
    EXPECT_EQ(t.cache.find(t.source(), 4), nullptr);

    // A second menu with a kept picture and a new one draws only the new one.
    t.keep({5, 4});
    EXPECT_EQ(t.platform.callsNamed({"CreateDIBSection", "ImageList_Draw"}),
              (Calls{{"CreateDIBSection", {16, 16}}, {"ImageList_Draw", {kImageList, 4, 0x2001, 0, 0, ILD_TRANSPARENT}}}));
    EXPECT_EQ(t.cache.find(t.source(), 3)->at(1, 0), inkOf(3)) << "earlier pictures stay kept";
    EXPECT_EQ(t.cache.find(t.source(), 4)->at(1, 0), inkOf(4));
    // And one whose pictures are all kept makes nothing at all.
    t.keep({3, 4, 5});
    EXPECT_EQ(t.platform.calls(), (Calls{{"GetSysColor", {COLOR_MENU}}}));
}

TEST(KeptPictureTest, PicturesAreKeptOnlyOfTheSourceTheyWereDrawnFrom) {
    Scene t;
    t.keep({3});
    ASSERT_NE(t.cache.find(t.source(), 3), nullptr);
    EXPECT_EQ(t.cache.find(t.source(0x010101), 3), nullptr) << "another menu colour";
    EXPECT_EQ(t.cache.find({kImageList + 1, 16, 16, kMenu}, 3), nullptr) << "another image list";
    EXPECT_EQ(t.cache.find({kImageList, 12, 12, kMenu}, 3), nullptr) << "another size";

    // The menu colour changed while the menu was open: the next menu's pictures replace the kept ones.
    t.platform.setSysColor(COLOR_MENU, 0x010101);
    t.keep({5});
    EXPECT_EQ(t.cache.find(t.source(), 3), nullptr);
    ASSERT_NE(t.cache.find(t.source(0x010101), 5), nullptr);
    EXPECT_EQ(t.cache.find(t.source(0x010101), 5)->at(0, 0), pixelOfColor(0x010101));
}

TEST(KeptPictureTest, NothingIsKeptWhereNothingCanBeDrawn) {
    struct Case {
        const char* what;
        std::function<void(Scene&)> arrange;
    };
    const Case cases[] = {
        {"no cache", [](Scene& t) { t.context.pictures = nullptr; }},
        {"no image list", [](Scene& t) { t.context.imageList = 0; }},
        {"pictures too large for the box", [](Scene& t) { t.context.iconWidth = 17; }},
        {"no memory DC", [](Scene& t) { t.platform.fail("CreateCompatibleDC"); }},
        {"no surface", [](Scene& t) { t.platform.fail("CreateDIBSection"); }},
    };
    for (const Case& c : cases) {
        Scene t;
        t.context.pictures = &t.cache;
        c.arrange(t);
        KeepPictures(t.context, {3});
        EXPECT_EQ(t.cache.size(), 0u) << c.what;
        EXPECT_EQ(t.platform.countOf("ImageList_Draw"), 0u) << c.what;
        EXPECT_TRUE(t.nothingLeft()) << c.what;
    }
}

TEST(KeptPictureTest, NoMorePixelsAreKeptThanTheLimit) {
    // Pictures this large are never drawn by a painter, but the limit holds whatever the size.
    Scene t;
    const std::int32_t side = 1024;
    t.context.iconWidth = t.context.iconHeight = side;
    t.dibWidth = side;
    t.cache.add(t.platform, t.source(), {0, 1, 2, 3, 4, 5});
    const std::size_t fit = PictureCache::kMostPixels / (static_cast<std::size_t>(side) * side);
    ASSERT_LT(fit, 6u);
    EXPECT_EQ(t.cache.size(), fit);
    EXPECT_NE(t.cache.find(t.source(), static_cast<std::int32_t>(fit) - 1), nullptr);
    EXPECT_EQ(t.cache.find(t.source(), static_cast<std::int32_t>(fit)), nullptr);
}

// Every painter that draws a picture over the menu colour outputs the kept pixels instead, at the
// picture's place, in one call.
TEST(KeptPictureTest, PaintersOutputKeptPicturesWhereTheyShowOverTheMenuColour) {
    struct Case {
        const char* what;
        std::uint32_t state;
        std::int32_t normal, checked;
        std::uint32_t dpi;
        std::int32_t iconSize;
        std::int32_t x, y;  // where the picture goes, for the item at (0, 40)
    };
    const Case cases[] = {
        {"normal item", 0, 3, -1, 96, 16, 2, 42},
        {"checked item, its checked picture", ODS_CHECKED, 5, 3, 96, 16, 2, 42},
        {"selected item, in its frame", ODS_SELECTED, 3, -1, 96, 16, 2, 42},
        {"normal item at 144 DPI", 0, 3, -1, 144, 24, 3, 43},
        {"a 16-pixel picture centred at 144 DPI", 0, 3, -1, 144, 16, 7, 47},
        {"selected item at 144 DPI", ODS_SELECTED, 3, -1, 144, 24, 3, 43},
    };
    for (const Case& c : cases) {
        Scene t;
        t.context.dpi = c.dpi;
        t.context.iconWidth = t.context.iconHeight = c.iconSize;
        t.add(c.normal, c.checked);
        t.keep({3, 5}, c.iconSize);
        const std::int32_t bottom = c.dpi == 96 ? 60 : 72;

        t.paint(c.state, {0, 40, 120, bottom});

        EXPECT_EQ(t.platform.countOf("ImageList_Draw"), 0u) << c.what;
        const ImageSetToDevice* picture = nullptr;
        for (const ImageSetToDevice& image : t.platform.imagesSetToDevice())
            if (image.width == c.iconSize && image.height == c.iconSize) picture = &image;
        ASSERT_NE(picture, nullptr) << c.what;
        EXPECT_EQ((std::vector<long long>{picture->x, picture->y}), (std::vector<long long>{c.x, c.y})) << c.what;
        EXPECT_EQ(picture->pixels[1], inkOf(3)) << c.what;
        EXPECT_EQ(picture->pixels[0], pixelOfColor(kMenu)) << c.what;
        EXPECT_TRUE(t.nothingLeft()) << c.what;
    }
}

// Where the kept pixels would not leave what the image list leaves, the picture is drawn from it.
TEST(KeptPictureTest, PicturesOverAnythingButTheMenuColourAreDrawnFromTheImageList) {
    struct Case {
        const char* what;
        std::uint32_t state;
        std::int32_t normal, checked;
        Rect rc;
        std::function<void(Scene&)> arrange;
    };
    const auto nothing = [](Scene&) {};
    const Case cases[] = {
        {"a picture not kept", 0, 4, -1, {0, 40, 120, 60}, nothing},
        {"no cache", 0, 3, -1, {0, 40, 120, 60}, [](Scene& t) { t.context.pictures = nullptr; }},
        {"the menu colour changed", 0, 3, -1, {0, 40, 120, 60},
         [](Scene& t) { t.platform.setSysColor(COLOR_MENU, 0x010101); }},
        {"an item too short for the picture", 0, 3, -1, {0, 40, 120, 50}, nothing},
        {"an item too narrow for the picture", 0, 3, -1, {0, 40, 12, 60}, nothing},
        {"a frame cut short by the item", ODS_SELECTED, 3, -1, {0, 40, 120, 58}, nothing},
        {"a checked picture over the gradient", ODS_SELECTED | ODS_CHECKED, -1, 3, {0, 40, 120, 60}, nothing},
        {"a checked picture of a disabled item", ODS_DISABLED | ODS_CHECKED, -1, 3, {0, 40, 120, 60}, nothing},
    };
    for (const Case& c : cases) {
        Scene t;
        t.add(c.normal, c.checked);
        t.keep({3, 5});
        c.arrange(t);

        t.paint(c.state, c.rc);

        const std::int32_t index = (c.state & ODS_CHECKED) != 0 ? c.checked : c.normal;
        const Calls draws = t.platform.callsNamed({"ImageList_Draw"});
        ASSERT_EQ(draws.size(), 1u) << c.what;
        EXPECT_EQ(draws[0].args[1], index) << c.what;
        EXPECT_EQ(draws[0].args[2], kItemDC) << c.what;
        EXPECT_TRUE(t.nothingLeft()) << c.what;
    }
}

// A disabled item's embossed picture is composed from the kept pixels, with no surface and no image
// list call, into exactly the image the surface would have given.
TEST(KeptPictureTest, AnEmbossedPictureFromKeptPixelsIsTheSameImage) {
    struct Case {
        std::uint32_t dpi;
        std::int32_t iconSize;
    };
    for (const Case c : {Case{96, 16}, Case{144, 24}, Case{144, 16}}) {
        const auto embossed = [&](bool kept) {
            Scene t;
            t.context.dpi = c.dpi;
            t.context.iconWidth = t.context.iconHeight = c.iconSize;
            t.add(3);
            if (kept) t.keep({3}, c.iconSize);
            t.dibWidth = static_cast<std::size_t>(scaled(16, c.dpi));  // the surface of the picture box
            t.paint(ODS_DISABLED, {0, 40, 120, 80});
            EXPECT_EQ(t.platform.callsNamed({"CreateDIBSection", "ImageList_Draw"}).empty(), kept);
            EXPECT_TRUE(t.nothingLeft());
            EXPECT_EQ(t.platform.imagesSetToDevice().size(), 1u);
            return t.platform.imagesSetToDevice().empty() ? ImageSetToDevice{} : t.platform.imagesSetToDevice()[0];
        };
        const ImageSetToDevice drawn = embossed(false), fromKept = embossed(true);
        EXPECT_EQ((std::vector<long long>{fromKept.x, fromKept.y, fromKept.width, fromKept.height}),
                  (std::vector<long long>{drawn.x, drawn.y, drawn.width, drawn.height}))
            << c.dpi << " DPI, " << c.iconSize;
        EXPECT_EQ(fromKept.pixels, drawn.pixels) << c.dpi << " DPI, " << c.iconSize;
        EXPECT_NE(std::count(drawn.pixels.begin(), drawn.pixels.end(), pixelOfColor(kGrayText)), 0)
            << "the picture shows";
    }
}

}  // namespace
}  // namespace popupmenu::testing
