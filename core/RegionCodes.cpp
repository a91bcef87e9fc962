// SPDX-License-Identifier: MIT
#include "RegionCodes.h"

#include "EnumNames.h"
#include "HexText.h"

#include <algorithm>
#include <optional>

namespace quillon {

namespace {

bool isBlank(std::uint8_t c) { return c == ' ' || c == 0; }

// A digit of the mask is upper-case: no reader takes a lower-case letter for one.
std::optional<std::uint8_t> maskDigit(std::uint8_t c) {
    const auto value = c >= 'a' ? std::nullopt : hexDigitValue(static_cast<char>(c));
    return value ? std::optional(static_cast<std::uint8_t>(*value)) : std::nullopt;
}

// How one digit read as a letter by older decoders (a table of places; MiSTer's core read 4 and
// B so before its issue #138) differs from the mask.
struct DigitAsLetter {
    char digit;
    std::string_view place;
    std::string_view readers;
};

constexpr std::array<DigitAsLetter, 5> digitsReadAsLetters{{
    {'4', "Brazil", "older decoders and MiSTer cores"},
    {'8', "Hong Kong", "older decoders"},
    {'A', "Asia", "older decoders"},
    {'B', "Brazil", "older decoders and MiSTer cores"},
    {'F', "France", "older decoders"},
}};

std::vector<Region> regionsOfMask(std::uint8_t mask) {
    std::vector<Region> regions;
    for (const RegionInfo& info : RegionTable) {
        if ((mask & info.maskBit) != 0)
            regions.push_back(info.region);
    }
    return regions;
}

void addRegions(std::vector<Region>& to, const std::vector<Region>& regions) {
    for (const Region region : regions) {
        if (std::find(to.begin(), to.end(), region) == to.end())
            to.push_back(region);
    }
    std::sort(to.begin(), to.end());
}

// The old style: every letter a region; what no reader knows is kept aside.
RegionReading readLetters(std::span<const std::uint8_t> three) {
    RegionReading reading{RegionStyle::Letters, {}, {}, {}, {}};
    for (const std::uint8_t c : three) {
        if (isBlank(c))
            continue;
        const auto& letters = RegionLetterTable();
        const auto letter = std::find_if(letters.begin(), letters.end(),
                                         [c](const RegionLetter& row) { return row.letter == c; });
        if (letter == letters.end()) {
            reading.unknown += static_cast<char>(c);
            continue;
        }
        reading.spelling += static_cast<char>(c);
        addRegions(reading.regions, letter->regions);
        if (!letter->disputed.empty())
            reading.disputes.push_back(std::string(1, letter->letter) + ": " +
                                       std::string(letter->disputed));
    }
    if (reading.spelling.empty())
        reading.style = RegionStyle::Unknown;
    return reading;
}

RegionReading readMask(std::uint8_t digit) {
    const std::uint8_t mask = *maskDigit(digit);
    RegionReading reading{RegionStyle::Mask, regionsOfMask(mask), std::string(1, digit), {}, {}};
    for (const DigitAsLetter& row : digitsReadAsLetters) {
        if (row.digit == digit)
            reading.disputes.push_back(std::string(row.readers) + " read " + reading.spelling +
                                       " as a letter: " + std::string(row.place));
    }
    if ((mask & regionInfo(Region::Asia).maskBit) != 0)
        reading.disputes.push_back("the Asia (50 Hz domestic) bit is ignored by ares, BlastEm and "
                                   "the MiSTer core, and doubted by Genesis Plus GX");
    return reading;
}

// How readers of the old style take a name: each character a letter, or a mask digit of which
// only the Japan, Americas and Europe bits count.
std::vector<Region> readCharacterByCharacter(std::span<const std::uint8_t> three) {
    std::vector<Region> regions = readLetters(three).regions;
    for (const std::uint8_t c : three) {
        if (const auto mask = maskDigit(c); mask && readLetters({&c, 1}).regions.empty())
            addRegions(regions, regionsOfMask(static_cast<std::uint8_t>(
                                    *mask & ~regionInfo(Region::Asia).maskBit)));
    }
    return regions;
}

} // namespace

const RegionInfo& regionInfo(Region region) {
    return RegionTable[static_cast<std::size_t>(region)];
}

const std::vector<RegionLetter>& RegionLetterTable() {
    // J, U and E: Sega's header documentation, read alike by every emulator looked at.
    // K: Genesis Plus GX (core/loadrom.c) and ares (mega-drive.cpp) read Korea as Japan.
    // W: BlastEm (romdb.c) and rom-properties (MegaDriveRegions.hpp) read it as every region.
    static const std::vector<RegionLetter> letters{
        {'J', {Region::Japan}, {}},
        {'U', {Region::Americas}, {}},
        {'E', {Region::Europe}, {}},
        {'K',
         {Region::Japan},
         "Korea, read as Japan (NTSC) by Genesis Plus GX and ares; BlastEm, PicoDrive and the "
         "MiSTer core do not know it"},
        {'W',
         {Region::Japan, Region::Americas, Region::Europe},
         "every region to BlastEm and rom-properties; Genesis Plus GX and PicoDrive do not know "
         "it and fall back on their own default"},
    };
    return letters;
}

constexpr EnumNames<RegionStyle, 4> regionStyleKeys{{{{RegionStyle::Letters, "letters"},
                                                      {RegionStyle::Mask, "mask"},
                                                      {RegionStyle::Name, "name"},
                                                      {RegionStyle::Unknown, "unknown"}}}};

std::string_view regionStyleKey(RegionStyle style) { return regionStyleKeys.name(style); }

RegionReading ReadRegion(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, 3> three{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), three.size()), three.begin());

    for (const RegionName& row : RegionNameTable) {
        const std::string_view name = row.name;
        if (bytes.size() < name.size() || !std::equal(name.begin(), name.end(), bytes.begin()))
            continue;
        RegionReading reading{RegionStyle::Name, {row.region}, std::string(name), {}, {}};
        reading.disputes.push_back(
            "BlastEm and PicoDrive read it character by character, as letters or mask digits: " +
            std::string(name.substr(0, three.size())) + " is " +
            regionNames(readCharacterByCharacter(three)) + " to them");
        return reading;
    }

    const auto nonBlank =
        std::count_if(three.begin(), three.end(), [](std::uint8_t c) { return !isBlank(c); });
    if (nonBlank == 0)
        return {};
    if (nonBlank == 1 && maskDigit(three[0]) && three[0] != 'E')
        return readMask(three[0]);
    RegionReading reading = readLetters(three);
    // A lone E is Europe to most readers and a mask of Asia, the Americas and Europe to some.
    if (nonBlank == 1 && three[0] == 'E') {
        const RegionReading asMask = readMask(three[0]);
        reading.disputes.push_back("read as a mask, E is " + regionNames(asMask.regions) +
                                   " (ares reads it so for one 32X title; rom-properties and "
                                   "most readers take Europe)");
    }
    return reading;
}

std::string regionNames(const std::vector<Region>& regions) {
    std::string names;
    for (const Region region : regions)
        names.append(names.empty() ? "" : ", ").append(regionInfo(region).name);
    return names.empty() ? "none" : names;
}

} // namespace quillon
