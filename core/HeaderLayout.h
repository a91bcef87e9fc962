// SPDX-License-Identifier: MIT
// Where the edited parts of a Mega Drive ROM header lie in the file.
#pragma once

#include "HeaderFields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace quillon {

// The window's six texts: every loop over them runs over this table, in this order.
inline constexpr auto HeaderFieldTable = [] {
    constexpr auto edited = [](const HeaderField& field) { return field.windowEdits; };
    return fieldsWhere<fieldCount(edited)>(edited);
}();

inline constexpr std::size_t HeaderFieldCount = HeaderFieldTable.size();

// The stored checksum: two bytes, high byte first.
struct ChecksumWord {
    static constexpr std::uint32_t offset = headerField(FieldId::Checksum).offset;
    static constexpr std::uint32_t length = headerField(FieldId::Checksum).length;
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
