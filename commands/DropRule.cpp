// SPDX-License-Identifier: MIT
#include "DropRule.h"

namespace quillon {

std::optional<std::string> romToOpen(const DroppedItems& dropped, bool overEditor) {
    if (overEditor || dropped.empty())
        return std::nullopt;
    return dropped.front();
}

} // namespace quillon
