#include "engine/ItemRecords.h"

namespace popupmenu {

std::uintptr_t ItemRecords::add(std::int32_t identifier, std::u16string_view label) {
    auto entry = std::make_unique<Entry>();
    entry->label.assign(label);
    entry->record.header.dwMSAASignature = win::MSAA_MENU_SIG;
    entry->record.header.cchWText = static_cast<std::uint32_t>(entry->label.size());
    entry->record.header.pszWText = entry->label.data();
    entry->record.identifier = identifier;
    entries_.push_back(std::move(entry));
    return reinterpret_cast<std::uintptr_t>(&entries_.back()->record);
}

}  // namespace popupmenu
