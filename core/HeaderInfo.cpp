// SPDX-License-Identifier: MIT
#include "HeaderInfo.h"

#include "HexText.h"

#include <algorithm>

namespace quillon {

bool HasTrademark(std::span<const std::uint8_t, ChecksummedRegionStart> header) {
    return std::any_of(TrademarkOffsets.begin(), TrademarkOffsets.end(), [&](std::uint32_t at) {
        return std::equal(TrademarkText.begin(), TrademarkText.end(), header.begin() + at);
    });
}

std::string FormatAddress(std::uint32_t address) { return PadHex(ToHex(address), 8); }

std::uint32_t ReadAddress(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

std::string_view ExtraMemory::access() const {
    switch ((type >> 3) & 0x3) {
    case 0x2:
        return "even bytes";
    case 0x3:
        return "odd bytes";
    default:
        return "word";
    }
}

std::optional<ExtraMemory> DecodeExtraMemory(const std::uint8_t* bytes) {
    if (bytes[0] != 'R' || bytes[1] != 'A')
        return std::nullopt;
    return ExtraMemory{bytes[2], ReadAddress(bytes + 4), ReadAddress(bytes + 8)};
}

} // namespace quillon
