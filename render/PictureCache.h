#pragma once
// The image list's pictures as they look drawn over the menu colour, kept for one pop-up.
//
// Drawing from an image list is by far the dearest thing a paint does (measured under Wine: about
// 40 us a picture, against about 1 us to output the same 16 x 16 pixels), and a menu draws the
// same few pictures again and again: every item that shows one, and every item again whenever the
// selection moves over it. So when a menu opens, the pictures its items show are drawn once, into
// one memory surface, and their pixels are kept; a painter that would draw one of them over the
// menu colour outputs the kept pixels instead, which leaves exactly what the image list would have
// drawn there. Kept pixels go with the pop-up; no GDI object is kept.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "render/Pixels.h"

namespace popupmenu {

class PictureCache {
public:
    // No more pixels than this are kept (16 MiB): at 96 DPI, 16,384 pictures.
    static constexpr std::size_t kMostPixels = std::size_t{1} << 22;

    // What the cache holds pictures of: an image list, its pictures' size and the colour they were
    // drawn over.
    struct Source {
        Handle imageList = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        ColorRef ground = 0;
        bool operator==(const Source&) const = default;
    };

    // Draws the pictures of `indices` that are not kept yet, each at (0, 0) of its own rows of one
    // surface filled with `source.ground`, and keeps their pixels: one surface, and one image list
    // call a picture, for all of them. A picture the image list could not draw is kept as the
    // ground it left, which is what the item shows where such a picture is drawn. A source other
    // than the one the cache holds pictures of (another image list, size or colour) first drops
    // every picture kept. Negative indices, and pictures beyond kMostPixels, are left out; a surface
    // that cannot be made keeps nothing, and the painters then draw from the image list as usual.
    void add(Platform& platform, const Source& source, const std::vector<std::int32_t>& indices);

    // The pixels of picture `index` drawn from `source` (`source.width` x `source.height`), or
    // nullptr when they are not kept.
    const PixelView* find(const Source& source, std::int32_t index) const;

    std::size_t size() const { return pictures_.size(); }

private:
    Source source_;
    // The pixels of each add, one picture below the other. A strip's pixels stay where they are
    // when the vector moves it, so the views into them stay valid.
    std::vector<PixelImage> strips_;
    std::unordered_map<std::int32_t, PixelView> pictures_;
    std::size_t pixels_ = 0;
};

}  // namespace popupmenu
