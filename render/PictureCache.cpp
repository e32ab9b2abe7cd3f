#include "render/PictureCache.h"

#include <algorithm>
#include <unordered_set>

#include "render/MemorySurface.h"
#include "render/PainterRules.h"
#include "render/RenderContext.h"

namespace popupmenu {

void PictureCache::add(Platform& platform, const Source& source, const std::vector<std::int32_t>& indices) {
    if (source.imageList <= 0 || source.width <= 0 || source.height <= 0) return;
    if (!(source == source_)) {
        strips_.clear();
        pictures_.clear();
        pixels_ = 0;
        source_ = source;
    }
    const std::size_t perPicture = static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height);
    std::vector<std::int32_t> wanted;
    std::unordered_set<std::int32_t> seen;
    for (const std::int32_t index : indices) {
        if (index < 0 || pictures_.count(index) != 0 || !seen.insert(index).second) continue;
        if (pixels_ + perPicture * (wanted.size() + 1) > kMostPixels) break;
        wanted.push_back(index);
    }
    if (wanted.empty()) return;

    const auto count = static_cast<std::int32_t>(wanted.size());
    PixelImage strip{source.width, source.height * count, pixelOfColor(source.ground)};
    if (!strip.ready()) return;
    {
        MemorySurface surface{platform, source.width, source.height * count};
        if (!surface.ready()) return;
        const PixelView pixels = surface.pixels();
        std::fill_n(pixels.bits, perPicture * wanted.size(), pixelOfColor(source.ground));
        for (std::int32_t i = 0; i < count; ++i)
            platform.imageListDraw(source.imageList, wanted[static_cast<std::size_t>(i)], surface.dc(), 0,
                                   i * source.height, win::ILD_TRANSPARENT);
        surface.finishDrawing();
        std::copy_n(pixels.bits, perPicture * wanted.size(), strip.view().bits);
    }
    strips_.push_back(std::move(strip));
    PixelView all = strips_.back().view();
    for (std::size_t i = 0; i < wanted.size(); ++i)
        pictures_.emplace(wanted[i], PixelView{all.bits + perPicture * i, source.width, source.height});
    pixels_ += perPicture * wanted.size();
}

const PixelView* PictureCache::find(const Source& source, std::int32_t index) const {
    if (!(source == source_)) return nullptr;
    const auto found = pictures_.find(index);
    return found != pictures_.end() ? &found->second : nullptr;
}

void KeepPictures(const RenderContext& context, const std::vector<std::int32_t>& indices) {
    if (context.pictures == nullptr || context.imageList <= 0 || !picturesFit(context)) return;
    const ColorRef menu = context.platform.getSysColor(win::COLOR_MENU);
    context.pictures->add(context.platform, {context.imageList, context.iconWidth, context.iconHeight, menu}, indices);
}

}  // namespace popupmenu
