// SPDX-License-Identifier: MIT
// The system area at the start of a Mega-CD disc's first sector, and the region the security
// program after it gives. Readers decide a disc's region by that program rather than by the
// header's region field, each in its own way, so a reading is made for every one of them.
#pragma once

#include "RegionCodes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// ares also accepts the second (mia/medium/mega-cd.cpp); rom-properties md_structs.h names
// the first.
inline constexpr std::string_view DiscSystemIds[] = {"SEGADISCSYSTEM  ", "SEGABOOTDISC    "};

// Whether user data (>= 16 bytes) starts with one of the disc system IDs.
bool HasDiscSystemId(std::span<const std::uint8_t> userData);

struct DiscSystemArea {
    std::string systemId, volumeName, systemName, buildDate; // raw bytes as text, up to the first 0
    std::uint16_t volumeSystem = 0, volumeType = 0, systemVersion = 0;
    std::uint32_t ipOffset = 0, ipSize = 0, ipEntry = 0, ipWorkRam = 0; // the initial program
    std::uint32_t spOffset = 0, spSize = 0, spEntry = 0, spWorkRam = 0; // the sub-CPU program
};

DiscSystemArea ReadDiscSystemArea(std::span<const std::uint8_t, 2048> userData);

// The region the security program at user-data 0x200 gives, as each reader decides it.
struct DiscRegionReading {
    std::string_view reader; // "BlastEm (byte 0x20B)", "ares (CRC-32 of the security program)", ...
    std::vector<Region> regions; // in RegionTable's order; empty = none recognised
    std::string_view how;        // one line: what the reader looked at
};

std::vector<DiscRegionReading> ReadDiscRegion(std::span<const std::uint8_t, 2048> userData);

// "SEGA 32X" at 0x100: a disc for the 32X and Mega-CD together.
bool IsCd32x(std::span<const std::uint8_t, 2048> userData);

} // namespace quillon
