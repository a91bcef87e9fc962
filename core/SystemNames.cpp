// SPDX-License-Identifier: MIT
#include "SystemNames.h"

#include <algorithm>

namespace quillon {

const SystemName& ReadSystem(std::span<const std::uint8_t> consoleName) {
    std::string_view text(reinterpret_cast<const char*>(consoleName.data()), consoleName.size());
    if (text.starts_with(' '))
        text.remove_prefix(1);
    const auto row =
        std::find_if(SystemTable.begin(), SystemTable.end(),
                     [text](const SystemName& row) { return text.starts_with(row.prefix); });
    return row == SystemTable.end() ? OtherSystem : *row;
}

} // namespace quillon
