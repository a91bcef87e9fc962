// SPDX-License-Identifier: MIT
// The security program is told by its checksum against a table, so a made-up program and a
// made-up table stand in for Sega's; and PicoDrive's region reading, byte by byte.
#include "Crc32.h"
#include "MarsProgram.h"
#include "PicoReaders.h"

#include <gtest/gtest.h>
#include <string_view>

using namespace quillon;

TEST(MarsPicoTest, SecurityProgramIsKnownByItsChecksumOnly) {
    MarsArea area{};
    for (std::size_t i = SecurityProgramStart - MarsAreaStart; i < area.size(); ++i)
        area[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::array<std::uint8_t, 8> vectors{};
    const std::uint32_t madeUp = ComputeCrc32(std::span<const std::uint8_t>(
        area.data() + (SecurityProgramStart - MarsAreaStart), SecurityProgramSize));
    const std::array<std::uint32_t, 2> known{0x12345678, madeUp};
    EXPECT_EQ(ReadMarsProgram(vectors, area, known).securityKnown, true);
    area.back() ^= 1;
    EXPECT_EQ(ReadMarsProgram(vectors, area, known).securityKnown, false);
    // With no checksum to compare, nothing is claimed either way.
    EXPECT_EQ(ReadMarsProgram(vectors, area, {}).securityKnown, std::nullopt);
}

TEST(MarsPicoTest, PicoDriveRegionPrefersEuropeThenUsaAndStopsAtLowerCase) {
    const struct {
        std::string_view bytes;
        const char* key; // nothing: no region
    } cases[] = {
        {"JUE ", "europe"},     {"JU  ", "usa"},   {"2   ", "japan_pal"}, {"J   ", "japan_ntsc"},
        {"Jeu ", "japan_ntsc"}, {"jUE ", nullptr}, {"C   ", "europe"},    {"    ", nullptr},
    };
    for (const auto& test : cases) {
        const auto region = ReadPicoRegion(std::span<const std::uint8_t, 4>(
            reinterpret_cast<const std::uint8_t*>(test.bytes.data()), 4));
        if (test.key)
            EXPECT_EQ(region ? region->key : "none", test.key) << test.bytes;
        else
            EXPECT_FALSE(region) << test.bytes;
    }
}
