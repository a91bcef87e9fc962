// SPDX-License-Identifier: MIT
#include "HeaderLayout.h"

#include "HexText.h"

namespace quillon {

std::optional<std::uint32_t> ParseOffsetText(std::string_view offsetText) {
    constexpr std::string_view prefix = "&H";
    if (!offsetText.starts_with(prefix))
        return std::nullopt;
    return parseHexDigits(offsetText.substr(prefix.size()));
}

} // namespace quillon
