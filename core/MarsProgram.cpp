// SPDX-License-Identifier: MIT
#include "MarsProgram.h"

#include "Crc32.h"

#include <algorithm>

namespace quillon {

bool MarsReading::has(std::string_view key) const {
    return std::any_of(present.begin(), present.end(),
                       [key](const MarsMark* mark) { return mark->key == key; });
}

MarsReading ReadMarsProgram(std::span<const std::uint8_t, 8> vectors, const MarsArea& area,
                            std::span<const std::uint32_t> known) {
    MarsReading reading;
    for (const MarsMark& mark : MarsMarkTable) {
        // Vectors come before the area; every mark lies wholly in one of the two.
        const auto* at = mark.offset < MarsAreaStart ? vectors.data() + mark.offset
                                                     : area.data() + (mark.offset - MarsAreaStart);
        const bool found =
            std::equal(mark.bytes.begin(), mark.bytes.end(), at,
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
        (found ? reading.present : reading.missing).push_back(&mark);
    }
    reading.securityCrc = ComputeCrc32(std::span<const std::uint8_t>(
        area.data() + (SecurityProgramStart - MarsAreaStart), SecurityProgramSize));
    if (!known.empty())
        reading.securityKnown =
            std::find(known.begin(), known.end(), reading.securityCrc) != known.end();
    return reading;
}

std::uint32_t MarsUserNumber(const MarsArea& area, const MarsUserField& field) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < field.length; ++i)
        value = value << 8 | area[field.offset - MarsAreaStart + i];
    return value;
}

} // namespace quillon
