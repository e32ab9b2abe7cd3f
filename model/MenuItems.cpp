// The automation members of the collection: how each turns its arguments into a key or a
// position, and how it reports failures (a message box, then a normal return).

#include "model/MenuItems.h"

#include <limits>

#include "model/FailureBox.h"
#include "model/ItemStore.h"

namespace popupmenu {

namespace {

constexpr std::u16string_view kNumericKeyRefused = u"Chiave non valida.";

// What an argument addresses: a position (from a number) or a key.
struct Address {
    bool byPosition = false;
    double number = 0;
    std::u16string key;
};

// The string form of a key. A string is its own key and Empty is the empty string; Null,
// Missing, Error, Date and Object values have no string form that could be a key, so they fail
// with a type mismatch wherever a key is expected.
std::u16string keyOf(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::String: return value.stringValue();
    case Value::Kind::Empty: return {};
    default: throw makeError(error::TypeMismatch);
    }
}

// MenuItem's key and Add's ParentKey: a value of a numeric kind is a position, anything else a
// key, a string of digits included (no stored key is numeric, so that lookup finds nothing).
Address lookupAddress(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Boolean:
    case Value::Kind::Integer:
    case Value::Kind::Double: return {true, numberOf(value), {}};
    default: return {false, 0, keyOf(value)};
    }
}

// Remove's key: whatever passes the numeric test is a position, the number read from the start
// of its string form ("2" and " 2.0 " are position 2); anything else is a key.
Address removalAddress(const Value& value) {
    if (isNumeric(value)) return {true, numberOf(value), {}};
    return {false, 0, keyOf(value)};
}

// The position an address stands for. A fractional position rounds half to even, as the
// conversion to an integer does; a position outside 1..size() (at any magnitude, NaN included)
// is out of range; a key that no entry has is an invalid argument.
std::size_t resolve(const ItemStore& store, const Address& address) {
    if (address.byPosition) {
        const double position = roundHalfToEven(address.number);
        if (!(position >= 1 && position <= static_cast<double>(store.size()))) {
            throw makeError(error::SubscriptOutOfRange);
        }
        return static_cast<std::size_t>(position);
    }
    const std::size_t position = store.positionOfKey(address.key);
    if (position == 0) throw makeError(error::InvalidArgument);
    return position;
}

// A picture index argument: missing or not numeric (an empty string, a word) means no image.
std::int32_t pictureIndexOf(const Value& value) {
    if (value.isMissing() || !isNumeric(value)) return -1;
    return toInt32(value);
}

}  // namespace

MenuItems::MenuItems(Platform& platform) : platform_(platform), store_(std::make_unique<ItemStore>()) {}

MenuItems::~MenuItems() = default;

Ref<popupmenu::MenuItem> MenuItems::Add(const Value& key, std::u16string_view Text, const Value& ParentKey,
                                        const Value& NormalPictureIndex, const Value& CheckedPictureIndex) {
    if (isNumeric(key)) {
        showInformation(platform_, kNumericKeyRefused);
        return nullptr;
    }

    Ref<popupmenu::MenuItem> item;
    try {
        // Refused before anything is made, so a full collection stays exactly as it is.
        if (store_->size() >= kMaxCount || nextItemID_ > std::numeric_limits<std::int32_t>::max()) {
            throw makeError(error::Overflow);
        }
        item = newItem();
        if (!item) throw makeError(error::OutOfMemory);
    } catch (...) {
        showCurrentFailure(platform_);
        return nullptr;
    }

    try {
        std::u16string keyText = keyOf(key);
        store_->append(keyText, item);
        item->SetKey(std::move(keyText));
        item->setText(std::u16string(Text));
        item->setNormalPictureIndex(pictureIndexOf(NormalPictureIndex));
        item->setCheckedPictureIndex(pictureIndexOf(CheckedPictureIndex));
        popupmenu::MenuItem* parent = nullptr;
        if (!ParentKey.isMissing()) {
            parent = store_->itemAt(resolve(*store_, lookupAddress(ParentKey)));
            // Its own parent, an item would hold a reference to itself and never be freed, and
            // removing it would look for its children without end.
            if (parent == item.get()) throw AutomationError(error::InvalidArgument, u"An item cannot be its own parent");
        }
        // The item is the last entry. Numbering it is the last step that can fail: the index by
        // ItemID allocates.
        store_->setItemID(store_->size(), static_cast<std::int32_t>(nextItemID_));
        ++nextItemID_;
        // Nothing can fail from here on, so a failed Add never leaves the parent marked.
        if (parent != nullptr) {
            item->SetParent(parent);
            parent->MarkAsSubMenu();
        }
        return item;
    } catch (...) {
        const AutomationError failure = failureOf(std::current_exception());
        showFailure(platform_, failure);
        // After a duplicate key the entry under `key` is another item, which stays. Otherwise the
        // new item is taken out again; when the insertion itself failed there is nothing under
        // `key` to take out, and that failure is the one that reaches the caller.
        if (failure.number() != error::DuplicateKey) takeOut(key, item.get());
        return nullptr;
    }
}

void MenuItems::takeOut(const Value& key, const popupmenu::MenuItem* item) {
    const std::size_t position = store_->positionOfKey(keyOf(key));
    // Only the item this Add inserted is taken out, never another one stored under the key.
    if (position == 0 || store_->itemAt(position) != item) throw makeError(error::InvalidArgument);
    store_->removeAt(position);
}

Ref<popupmenu::MenuItem> MenuItems::MenuItem(const Value& key) {
    try {
        return Ref<popupmenu::MenuItem>(store_->itemAt(resolve(*store_, lookupAddress(key))));
    } catch (...) {
        showCurrentFailure(platform_);
        return nullptr;
    }
}

void MenuItems::Clear() {
    try {
        auto previous = std::make_unique<ItemStore>();
        store_.swap(previous);
        nextItemID_ = 1;
        // `previous` releases every item now; those the host still holds live on unchanged.
    } catch (...) {
        showCurrentFailure(platform_);
    }
}

void MenuItems::Remove(const Value& key) {
    try {
        const Address address = removalAddress(key);
        if (store_->itemAt(resolve(*store_, address))->IsSubMenu()) RemoveChildren(key);
        // Descendants stand behind the item, so the address still finds the same entry.
        store_->removeAt(resolve(*store_, address));
    } catch (...) {
        showCurrentFailure(platform_);
    }
}

void MenuItems::RemoveChildren(const Value& key) {
    try {
        const std::size_t position = resolve(*store_, removalAddress(key));
        if (store_->size() > kMaxCount) throw makeError(error::Overflow);  // beyond every 16-bit position
        // One pass over the entries behind the item takes out children, grandchildren and so on
        // together: the same entries a backward scan per submenu level would find, without a
        // recursion as deep as the menu and a scan per submenu.
        store_->removeDescendantsOf(position);
    } catch (...) {
        showCurrentFailure(platform_);
    }
}

std::int16_t MenuItems::Count() {
    if (store_->size() > kMaxCount) {
        showFailure(platform_, makeError(error::Overflow));
        return 0;
    }
    return static_cast<std::int16_t>(store_->size());
}

std::size_t MenuItems::size() const noexcept { return store_->size(); }

popupmenu::MenuItem* MenuItems::itemAt(std::size_t position) const noexcept {
    return store_->itemAt(position);
}

std::size_t MenuItems::positionOfItemID(std::int32_t itemID) const noexcept {
    return store_->positionOfItemID(itemID);
}

void MenuItems::setItemID(std::size_t position, std::int32_t itemID) {
    if (store_->itemAt(position) == nullptr) throw makeError(error::SubscriptOutOfRange);
    store_->setItemID(position, itemID);
}

Ref<popupmenu::MenuItem> MenuItems::newItem() { return makeRef<popupmenu::MenuItem>(); }

}  // namespace popupmenu
