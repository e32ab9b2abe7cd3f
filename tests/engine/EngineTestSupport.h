#pragma once
// What the engine tests share: filling a collection in one line, and a recording platform that
// can raise a failure from inside a chosen platform call.

#include <map>
#include <string>

#include "model/MenuItems.h"
#include "model/Value.h"
#include "tests/support/RecordingPlatform.h"

namespace popupmenu::testing {

// Adds an item under `key`, as a child of `parentKey` when one is given.
inline Ref<MenuItem> addItem(MenuItems& items, std::u16string key, std::u16string text, std::u16string parentKey = {}) {
    return items.Add(Value::string(std::move(key)), text,
                     parentKey.empty() ? Value::missing() : Value::string(std::move(parentKey)));
}

inline AutomationError simulatedFailure() { return AutomationError(error::InvalidArgument, u"simulated failure"); }

// Records like RecordingPlatform; the n-th call (from 1) of an operation named with failOnCall
// raises simulatedFailure() after it was recorded.
class ThrowingPlatform : public RecordingPlatform {
public:
    void failOnCall(const std::string& op, int nth = 1) { failures_[op] = nth; }

    bool appendMenu(Handle menu, std::uint32_t flags, std::int32_t id, std::uintptr_t itemData) override {
        const bool ok = RecordingPlatform::appendMenu(menu, flags, id, itemData);
        check("AppendMenuW");
        return ok;
    }
    Handle createPopupMenu() override {
        const Handle menu = RecordingPlatform::createPopupMenu();
        check("CreatePopupMenu");
        return menu;
    }
    bool getCursorPos(Point& point) override {
        const bool ok = RecordingPlatform::getCursorPos(point);
        check("GetCursorPos");
        return ok;
    }
    MeasureItemRecord readMeasureItem(LParam address) override {
        const MeasureItemRecord record = RecordingPlatform::readMeasureItem(address);
        check("RtlMoveMemory");
        return record;
    }
    DrawItemRecord readDrawItem(LParam address) override {
        const DrawItemRecord record = RecordingPlatform::readDrawItem(address);
        check("RtlMoveMemory");
        return record;
    }
    bool getMenuItem(Handle menu, int position, NativeMenuItem& item) override {
        const bool ok = RecordingPlatform::getMenuItem(menu, position, item);
        check("GetMenuItemInfoW");
        return ok;
    }
    LResult callWindowProcedure(ProcValue procedure, Handle hwnd, std::uint32_t msg, WParam wParam,
                                LParam lParam) override {
        const LResult result = RecordingPlatform::callWindowProcedure(procedure, hwnd, msg, wParam, lParam);
        check("CallWindowProcW");
        return result;
    }

private:
    void check(const std::string& op) {
        auto it = failures_.find(op);
        if (it != failures_.end() && --it->second == 0) throw simulatedFailure();
    }
    std::map<std::string, int> failures_;
};

}  // namespace popupmenu::testing
