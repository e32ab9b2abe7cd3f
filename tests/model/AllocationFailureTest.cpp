// Add when memory runs out: every allocation that Add makes is made to fail in turn, and after each
// failure the collection is as it was before the call and no item has been marked as a submenu.
// This program replaces the global operator new and delete, so it holds these tests alone.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "tests/model/ModelFixture.h"

namespace {

// The number of allocations still to succeed before one fails; -1 when none is to fail.
std::atomic<long> g_allocationsBeforeFailure{-1};
std::atomic<bool> g_allocationFailed{false};

void* allocate(std::size_t size) {
    if (g_allocationsBeforeFailure.load() >= 0 && g_allocationsBeforeFailure.fetch_sub(1) == 0) {
        g_allocationFailed = true;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace popupmenu::testing {
namespace {

// While it lives, the allocation that follows `succeeding` successful ones fails with
// std::bad_alloc, once.
class FailingAllocation {
public:
    explicit FailingAllocation(long succeeding) {
        g_allocationFailed = false;
        g_allocationsBeforeFailure = succeeding;
    }
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    ~FailingAllocation() { g_allocationsBeforeFailure = -1; }
    bool failed() const { return g_allocationFailed.load(); }
};

class AddUnderAllocationFailure : public CollectionTest {
protected:
    bool noSubMenus() const {
        for (std::size_t position = 1; position <= items->size(); ++position) {
            if (items->itemAt(position)->IsSubMenu()) return false;
        }
        return true;
    }
};

TEST_F(AddUnderAllocationFailure, AFailedAddLeavesTheCollectionAsItWasAndMarksNothing) {
    add(u"file");
    add(u"edit");
    const std::vector<std::u16string> before = keys();
    const Value key = S(u"open");
    const Value parentKey = S(u"file");

    // The first run without a failure has met every allocation of an Add under a parent.
    constexpr long kEnough = 1000;
    long failing = 0;
    for (;; ++failing) {
        ASSERT_LT(failing, kEnough) << "Add never ran through";
        SCOPED_TRACE(::testing::Message() << "allocation " << failing << " of Add fails");
        Ref<MenuItem> added;
        bool failed = false;
        bool threw = false;
        {
            FailingAllocation failure(failing);
            // A failed insertion leaves nothing to take out again, and that failure reaches the
            // caller; every other failure is shown and Add returns none.
            try {
                added = items->Add(key, u"Open", parentKey);
            } catch (const AutomationError&) {
                threw = true;
            }
            failed = failure.failed();
        }
        if (!failed) {
            ASSERT_TRUE(added);
            EXPECT_FALSE(threw);
            break;
        }
        EXPECT_FALSE(added);
        EXPECT_EQ(keys(), before);
        EXPECT_TRUE(noSubMenus());
        EXPECT_EQ(items->positionOfItemID(3), 0u) << "the index by ItemID kept the new item";
        EXPECT_EQ(newBoxes(), (Boxes{Box{u"Out of memory", kWarning}}));
    }
    EXPECT_GT(failing, 0) << "Add allocated nothing";

    // The run that went through: the child is in, under its parent, numbered after the others.
    const Ref<MenuItem> file = items->MenuItem(S(u"file"));
    const Ref<MenuItem> open = items->MenuItem(S(u"open"));
    ASSERT_TRUE(open);
    EXPECT_EQ(open->Parent(), file.get());
    EXPECT_EQ(file->IsSubMenu(), MenuItem::True);
    EXPECT_EQ(open->ItemID(), 3);
    EXPECT_EQ(items->positionOfItemID(3), 3u);
    EXPECT_EQ(newBoxes(), Boxes{});
}

}  // namespace
}  // namespace popupmenu::testing
