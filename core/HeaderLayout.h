// SPDX-License-Identifier: MIT
// Where the edited parts of a Mega Drive ROM header lie in the file.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace quillon {

struct HeaderField {
    std::size_t index; // the row, 0-5
    std::string_view label;
    std::uint32_t offset;
    std::uint32_t length;
};

// Every loop over the fields runs over this table, in this order.
inline constexpr std::array<HeaderField, 6> HeaderFieldTable{{
    {0, "Console Name:", 0x100, 16},
    {1, "Copyright Date:", 0x110, 16},
    {2, "Domestic Name:", 0x120, 48},
    {3, "Overseas Name:", 0x150, 48},
    {4, "Serial Number:", 0x180, 14},
    {5, "Country Code:", 0x1F0, 3},
}};

inline constexpr std::size_t HeaderFieldCount = HeaderFieldTable.size();

// A label as a name in running text: without the colon a label ends with.
constexpr std::string_view fieldName(std::string_view label) {
    return label.ends_with(':') ? label.substr(0, label.size() - 1) : label;
}

// The stored checksum: two bytes, high byte first.
struct ChecksumWord {
    static constexpr std::uint32_t offset = 0x18E;
    static constexpr std::uint32_t length = 2;
};

// The header begins here; before it lie the processor's vectors.
inline constexpr std::uint32_t HeaderStart = 0x100;

// The checksum covers the file from here to its end, so no header write can change it.
inline constexpr std::uint32_t ChecksummedRegionStart = 0x200;

// One past the last byte a save writes; a shorter file grows to exactly this length.
inline constexpr std::uint32_t HeaderWriteEnd = [] {
    std::uint32_t end = ChecksumWord::offset + ChecksumWord::length;
    for (const HeaderField& field : HeaderFieldTable)
        end = std::max(end, field.offset + field.length);
    return end;
}();

} // namespace quillon
