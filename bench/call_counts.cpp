// Platform calls and item look-ups that one owner-draw request costs, counted with the recording
// platform over the whole request (reading the record, the background mode and the label
// included), in a collection of N items: a measure request, the paint of a selected item with and
// without a picture and of a selected checked one, and the paint of a disabled item with a
// picture. The measuring font and the DC labels are measured on are made once per pop-up; their
// cost is shown on a line of its own, and so is a measure request answered from the size an item
// keeps from an earlier pop-up. Last, the pictures a menu keeps when it opens, and the paints that
// output them.
//
// Usage: call_counts [N]   (default 5000); CALL_COUNTS_LIST=1 also lists the calls.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "model/MenuItems.h"
#include "platform/Owned.h"
#include "render/MeasureStamps.h"
#include "render/MeasuringFont.h"
#include "render/PictureCache.h"
#include "render/RenderContext.h"
#include "tests/support/CountingMenuItems.h"
#include "tests/support/RecordingPlatform.h"

using namespace popupmenu;
using popupmenu::testing::CountingMenuItems;
using popupmenu::testing::RecordingPlatform;

namespace {

std::string describe(const popupmenu::testing::Call& call) {
    std::ostringstream out;
    out << call;
    return out.str();
}

// "prefix" followed by the number, in UTF-16.
std::u16string numbered(std::string prefix, int number) {
    prefix += std::to_string(number);
    return std::u16string(prefix.begin(), prefix.end());
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    const bool list = std::getenv("CALL_COUNTS_LIST") != nullptr;
    RecordingPlatform platform;
    Ref<CountingMenuItems> items(new CountingMenuItems(platform));
    for (int i = 1; i <= count; ++i) items->Add(Value::string(numbered("k", i)), numbered("Item ", i));
    // The requests are for the last item, where a walk of the collection would cost most.
    Ref<MenuItem> last(items->itemAt(items->size()));
    RenderContext context{platform, 0x2100, items.get(), 0x3300, 16, 16};

    DrawItemRecord record;
    record.CtlType = win::ODT_MENU;
    record.itemID = static_cast<std::uint32_t>(last->ItemID());
    record.hDC = 0x2200;
    record.rcItem = {0, 40, 180, 60};
    const LParam address = reinterpret_cast<LParam>(&record);

    std::printf("%-46s %16s %14s   (N = %d items)\n", "request", "platform calls", "item look-ups", count);
    const auto measure = [&](const char* what, const std::function<void()>& run) {
        platform.clearCalls();
        const std::uint64_t before = items->lookupCount();
        run();
        std::printf("%-46s %16zu %14llu\n", what, platform.calls().size(),
                    static_cast<unsigned long long>(items->lookupCount() - before));
        if (list)
            for (const auto& c : platform.calls()) std::printf("    %s\n", describe(c).c_str());
    };
    const auto paint = [&](std::uint32_t state, std::int32_t normalPicture) {
        return [&, state, normalPicture] {
            last->setNormalPictureIndex(normalPicture);
            record.itemState = state;
            DrawMenuItem(context, address);
        };
    };

    // As a pop-up opens: the font is made and selected once into a memory DC of the pop-up's own,
    // on which every label is measured; sizes are kept under the stamp of the font and the DPI.
    OwnedGdiObject font;
    OwnedDC measuringDC;
    std::optional<SelectionGuard> keepFont;
    MeasureStamps stamps;
    measure("measuring font and DC (once per pop-up)", [&] {
        const LogFontA description = DescribeMeasuringFont(platform);
        font = CreateMeasuringFont(platform, description);
        measuringDC = OwnedDC(platform, platform.createCompatibleDC(0x2100));
        keepFont.emplace(platform, measuringDC.get(), font.get());
        context.ownerDC = measuringDC.get();
        context.measureStamp = stamps.stampFor(description, context.dpi);
    });
    const auto measureLast = [&] {
        std::int32_t height = 20;
        MeasureMenuItem(context, last->ItemID(), height);
    };
    measure("measure request", measureLast);
    measure("measure request, size kept (menu shown again)", measureLast);
    measure("paint, selected item", paint(win::ODS_SELECTED, -1));
    measure("paint, selected item with picture", paint(win::ODS_SELECTED, 2));
    measure("paint, selected checked item", paint(win::ODS_SELECTED | win::ODS_CHECKED, -1));
    measure("paint, disabled item with picture", paint(win::ODS_DISABLED, 2));
    measure("paint, normal item with picture", paint(0, 2));

    // As a menu opens, the pictures its items show are drawn once into one surface (here 10
    // pictures); the paints then output the kept pixels.
    PictureCache pictures;
    context.pictures = &pictures;
    measure("menu opens: its 10 pictures kept (once a menu)", [&] {
        KeepPictures(context, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    });
    measure("paint, selected item with picture, kept", paint(win::ODS_SELECTED, 2));
    measure("paint, disabled item with picture, kept", paint(win::ODS_DISABLED, 2));
    measure("paint, normal item with picture, kept", paint(0, 2));
    return 0;
}
