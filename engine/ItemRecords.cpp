#include "engine/ItemRecords.h"

namespace popupmenu {

std::uintptr_t ItemRecords::add(std::int32_t identifier, std::u16string_view label) {
    Entry& entry = entries_.emplace_back();
    entry.label.assign(label);
    entry.record.header.dwMSAASignature = win::MSAA_MENU_SIG;
    entry.record.header.cchWText = static_cast<std::uint32_t>(entry.label.size());
    entry.record.header.pszWText = entry.label.data();
    entry.record.identifier = identifier;
    return reinterpret_cast<std::uintptr_t>(&entry.record);
}

}  // namespace popupmenu
