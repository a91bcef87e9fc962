// SPDX-License-Identifier: MIT
#include "PicoReaders.h"

#include <algorithm>

namespace quillon {

std::array<PicoReading, PicoReaderNames.size()> ReadPicoName(std::span<const std::uint8_t> name) {
    const std::string_view text(reinterpret_cast<const char*>(name.data()), name.size());
    std::array<PicoReading, PicoReaderNames.size()> readings{};
    for (std::size_t i = 0; i < PicoReaderNames.size(); ++i) {
        readings[i].reader = PicoReaderNames[i];
        const auto found =
            std::find_if(PicoNameTable.begin(), PicoNameTable.end(), [&](const PicoName& row) {
                return row.reader == PicoReaderNames[i] &&
                       text.find(row.text) != std::string_view::npos;
            });
        readings[i].match = found == PicoNameTable.end() ? nullptr : &*found;
    }
    return readings;
}

bool anyPico(std::span<const PicoReading> readings) {
    return std::any_of(readings.begin(), readings.end(),
                       [](const PicoReading& reading) { return reading.match != nullptr; });
}

bool allPico(std::span<const PicoReading> readings) {
    return std::all_of(readings.begin(), readings.end(),
                       [](const PicoReading& reading) { return reading.match != nullptr; });
}

std::optional<PicoRegionInfo> ReadPicoRegion(std::span<const std::uint8_t, 4> bytes) {
    std::uint8_t mask = 0;
    for (const std::uint8_t byte : bytes) {
        const char c = static_cast<char>(byte);
        if (c == 'j' || c == 'u' || c == 'e')
            break;
        if (c == 'J')
            mask |= 0x1;
        else if (c == 'U')
            mask |= 0x4;
        else if (c == 'E')
            mask |= 0x8;
        else if (c >= '0' && c <= '9')
            mask |= static_cast<std::uint8_t>(c - '0');
        else if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))
            mask |= static_cast<std::uint8_t>((c | 0x20) - 'a' + 10);
    }
    for (const PicoRegionInfo& info : PicoRegionTable) {
        if (mask & info.mask)
            return info;
    }
    return std::nullopt;
}

} // namespace quillon
