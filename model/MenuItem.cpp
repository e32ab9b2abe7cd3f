// Destruction of an item and of the ancestors only it kept alive.

#include "model/MenuItem.h"

namespace popupmenu {

MenuItem::~MenuItem() {
    // Releasing the parent may destroy it, which releases its own parent, and so on up the chain:
    // done by nested destructors, a menu thousands of levels deep would exhaust the stack. So each
    // ancestor that only this chain still holds hands its own parent link over before it goes,
    // and the chain is released one item at a time.
    Ref<MenuItem> ancestor = std::move(parent_);
    while (ancestor && ancestor->referenceCount() == 1) {
        Ref<MenuItem> next = std::move(ancestor->parent_);
        ancestor = std::move(next);  // destroys the previous ancestor, whose parent link is empty now
    }
}

}  // namespace popupmenu
