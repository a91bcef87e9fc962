// SPDX-License-Identifier: MIT
// What the region field (0x1F0) tells a console and the emulators about where a ROM may run.
// It has been written three ways over the years: letters, one hexadecimal digit holding a mask,
// and a spelt-out name; readers of one way see another differently, so a reading says which
// way it took and where other readers part from it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class Region { Japan, Asia, Americas, Europe };

struct RegionInfo {
    Region region;
    std::string_view key;  // its name in machine-readable output
    std::string_view name; // for people, with its television standard
    std::uint8_t maskBit;  // its bit in a one-digit mask
};

inline constexpr std::array<RegionInfo, 4> RegionTable{{
    {Region::Japan, "japan", "Japan (NTSC)", 0x1},
    // The "domestic 50 Hz" bit: Genesis Plus GX wonders whether it exists, ares ignores it,
    // rom-properties calls it Asia; BlastEm and the MiSTer core ignore it.
    {Region::Asia, "asia", "Asia (PAL)", 0x2},
    {Region::Americas, "americas", "Americas (NTSC)", 0x4},
    {Region::Europe, "europe", "Europe (PAL)", 0x8},
}};

const RegionInfo& regionInfo(Region region);

// A letter of the old style and what it stands for.
struct RegionLetter {
    char letter;
    std::vector<Region> regions;
    // Readers that do not read the letter so, or nothing when every reader agrees.
    std::string_view disputed;
};

// The letters readers agree on (Sega's own list) and the later ones some readers added.
const std::vector<RegionLetter>& RegionLetterTable();

// A region spelt out as a name, read as that region by Genesis Plus GX and ares.
struct RegionName {
    std::string_view name;
    Region region;
};

// Longest first, so that "EUROPE" is found before "EUR".
inline constexpr std::array<RegionName, 5> RegionNameTable{{
    {"EUROPE", Region::Europe},
    {"JAPAN", Region::Japan},
    {"EUR", Region::Europe},
    {"JAP", Region::Japan},
    {"USA", Region::Americas},
}};

enum class RegionStyle { Letters, Mask, Name, Unknown };

std::string_view regionStyleKey(RegionStyle style); // "letters", "mask", "name", "unknown"

struct RegionReading {
    RegionStyle style = RegionStyle::Unknown;
    std::vector<Region> regions; // in RegionTable's order
    std::string spelling;        // the characters read: the letters, the digit or the name
    std::string unknown;         // characters no reader decodes
    // Where readers part from this reading: what they read instead, and who they are.
    std::vector<std::string> disputes;
};

// Reads the region bytes from 0x1F0 to the header's end (a name may run past the three bytes
// the letters take). A blank field (spaces or zeros) reads as Unknown with no regions.
RegionReading ReadRegion(std::span<const std::uint8_t> bytes);

// "Japan (NTSC), Americas (NTSC)"; "none" when empty.
std::string regionNames(const std::vector<Region>& regions);

} // namespace quillon
