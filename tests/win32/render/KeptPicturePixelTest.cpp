// Pictures the pop-up keeps, with real GDI: every painter that outputs a kept picture leaves the
// item with exactly the pixels the image list's own drawing leaves, for pictures with a mask and
// with an alpha channel, at 96 and at 144 DPI.

#include "render/PictureCache.h"
#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

// An image list of `size` x `size` pictures with transparent pixels: either masked (24-bit colour,
// magenta marks the transparent pixels) or 32-bit with an alpha channel of every level.
class TransparentPictures {
public:
    TransparentPictures(int size, bool alpha) : size_(size) {
        list_ = ImageList_Create(size, size, alpha ? ILC_COLOR32 : (ILC_COLOR24 | ILC_MASK), 1, 1);
        const BITMAPINFO info = topDown32Bit(size, size);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                std::uint32_t& pixel = pixels[y * size + x];
                if (alpha) {
                    // Premultiplied, as alpha bitmaps are: a red ramp fading out to the right.
                    const std::uint32_t a = static_cast<std::uint32_t>(x * 255 / (size - 1));
                    pixel = a << 24 | (a * 200 / 255) << 16 | (a * (y * 8 % 256) / 255) << 8 | (a * 40 / 255);
                } else {
                    const bool hole = (x + y) % 3 == 0;  // a diagonal pattern of transparent pixels
                    pixel = hole ? 0xFF00FF : pixelOfColor(RGB(x * 12, 180 - y * 6, 90));
                }
            }
        }
        if (alpha)
            ImageList_Add(list_, bitmap, nullptr);
        else
            ImageList_AddMasked(list_, bitmap, RGB(255, 0, 255));
        DeleteObject(bitmap);
    }
    TransparentPictures(const TransparentPictures&) = delete;
    TransparentPictures& operator=(const TransparentPictures&) = delete;
    ~TransparentPictures() { ImageList_Destroy(list_); }

    Handle handle() const { return Win32Platform::portable(list_); }
    int size() const { return size_; }

private:
    int size_;
    HIMAGELIST list_;
};

using KeptPicturePixelTest = PixelTest;

TEST_F(KeptPicturePixelTest, KeptPicturesLeaveThePixelsTheImageListLeaves) {
    struct Painter {
        const char* what;
        UINT state;
        bool asCheckedPicture;
    };
    const Painter painters[] = {
        {"normal", 0, false},
        {"checked, its checked picture", ODS_CHECKED, true},
        {"selected, in its frame", ODS_SELECTED, false},
        {"disabled, embossed", ODS_DISABLED, false},
    };
    struct Display {
        UINT dpi;
        int pictureSize;
    };
    for (const Display display : {Display{96, 16}, Display{144, 24}, Display{144, 16}}) {
        for (const bool alpha : {false, true}) {
            TransparentPictures pictures(display.pictureSize, alpha);
            for (const Painter& p : painters) {
                const std::string what = std::string(p.what) + (alpha ? ", alpha" : ", masked") + " at " +
                                         std::to_string(display.dpi) + " DPI, " +
                                         std::to_string(display.pictureSize) + " pixels";
                items->Clear();
                add(u"a", u"Open", p.asCheckedPicture ? -1 : 0, p.asCheckedPicture ? 0 : -1);
                context.imageList = pictures.handle();
                context.iconWidth = context.iconHeight = pictures.size();
                context.dpi = display.dpi;
                const int height = display.dpi == 96 ? 24 : 36;
                const RECT rc{0, 0, 150, height};

                Canvas drawn(154, height + 2);
                context.pictures = nullptr;
                draw(drawn, 1, p.state, rc);

                Canvas fromKept(154, height + 2);
                PictureCache cache;
                context.pictures = &cache;
                KeepPictures(context, {0});
                ASSERT_EQ(cache.size(), 1u) << what;
                draw(fromKept, 1, p.state, rc);
                context.pictures = nullptr;

                ASSERT_TRUE(drawn.ready() && fromKept.ready()) << what;
                EXPECT_TRUE(fromKept.samePixels(drawn)) << what;
                // The picture shows: some pixel of its place is neither the menu colour nor untouched.
                const int at = display.dpi == 96 ? 2 : 3;
                bool shows = false;
                for (int y = at; y < at + 16 && !shows; ++y)
                    for (int x = at; x < at + 16 && !shows; ++x)
                        shows = drawn.at(x, y) != menu() && drawn.at(x, y) != kUntouched;
                EXPECT_TRUE(shows) << what;
            }
        }
    }
}

}  // namespace
}  // namespace popupmenu::testing
