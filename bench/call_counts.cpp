// Platform calls and item look-ups that one owner-draw request costs, counted with the recording
// platform: a measure request, the paint of a selected item, and the paint of a disabled item
// with a picture, each in a collection of N items.
//
// Usage: call_counts [N]   (default 5000)

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "model/MenuItems.h"
#include "render/RenderContext.h"
#include "tests/support/RecordingPlatform.h"

using namespace popupmenu;
using popupmenu::testing::RecordingPlatform;

namespace {

struct Request {
    const char* what;
    std::size_t platformCalls;
    std::uint64_t lookups;
};

std::string describe(const popupmenu::testing::Call& call) {
    std::ostringstream out;
    out << call;
    return out.str();
}

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    RecordingPlatform platform;
    Ref<MenuItems> items(new MenuItems(platform));
    for (int i = 1; i <= count; ++i) items->Add(Value::string(u16("k" + std::to_string(i))), u16("Item " + std::to_string(i)));
    // The request is for the last item, where a walk of the collection would cost most.
    Ref<MenuItem> last(items->itemAt(items->size()));
    last->setNormalPictureIndex(2);
    const RenderContext context{platform, 0x2100, items.get(), 0x3300, 16, 16};

    DrawItemRecord record;
    record.CtlType = win::ODT_MENU;
    record.itemID = static_cast<std::uint32_t>(last->ItemID());
    record.hDC = 0x2200;
    record.rcItem = {0, 40, 180, 60};
    const LParam address = reinterpret_cast<LParam>(&record);

    Request requests[3] = {{"measure request", 0, 0}, {"paint, selected item", 0, 0},
                           {"paint, disabled item with picture", 0, 0}};
    auto count_ = [&](Request& request, auto&& run) {
        platform.clearCalls();
        const std::uint64_t before = items->lookupCount();
        run();
        request.platformCalls = platform.calls().size();
        request.lookups = items->lookupCount() - before;
        if (std::getenv("CALL_COUNTS_LIST")) for (const auto& c : platform.calls()) std::printf("    %s\n", describe(c).c_str());
    };
    count_(requests[0], [&] {
        std::int32_t height = 20;
        MeasureMenuItem(context, last->ItemID(), height);
    });
    count_(requests[1], [&] {
        record.itemState = win::ODS_SELECTED;
        DrawMenuItem(context, address);
    });
    count_(requests[2], [&] {
        record.itemState = win::ODS_DISABLED;
        DrawMenuItem(context, address);
    });

    std::printf("%-36s %16s %14s   (N = %d items)\n", "request", "platform calls", "item look-ups", count);
    for (const Request& r : requests) std::printf("%-36s %16zu %14llu\n", r.what, r.platformCalls,
                                                  static_cast<unsigned long long>(r.lookups));
    return 0;
}
