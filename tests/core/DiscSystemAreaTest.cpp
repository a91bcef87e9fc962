// SPDX-License-Identifier: MIT
#include "DiscSystemArea.h"

#include "Crc32.h"
#include "TempDir.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

using UserData = std::array<std::uint8_t, 2048>;

// Random bytes, so that no CRC-32 rule can match by accident, with text put in where asked.
UserData madeUpUserData() {
    const test::Bytes noise = test::randomBytes(2048, 22);
    UserData data;
    std::copy(noise.begin(), noise.end(), data.begin());
    return data;
}

void put(UserData& data, std::size_t offset, std::string_view text) {
    std::memcpy(data.data() + offset, text.data(), text.size());
}

} // namespace

TEST(DiscSystemArea, SystemIdStartsTheUserData) {
    UserData data = madeUpUserData();
    EXPECT_FALSE(HasDiscSystemId(data));
    for (std::string_view id : DiscSystemIds) {
        put(data, 0, id);
        EXPECT_TRUE(HasDiscSystemId(data)) << id;
        EXPECT_FALSE(HasDiscSystemId(std::span(data).first(15))) << id;
    }
    put(data, 0, "SEGADISCSYSTEM X");
    EXPECT_FALSE(HasDiscSystemId(data));
}

TEST(DiscSystemArea, FieldsAreReadBigEndianAndTextUpToItsFirstZero) {
    UserData data = madeUpUserData();
    put(data, 0x000, "SEGADISCSYSTEM  ");
    put(data, 0x010, std::string_view("VOLUME\0XXXX", 11));
    put(data, 0x01C, "\x01\x02\x03\x04");
    put(data, 0x020, "SEGASYSTEM ");
    put(data, 0x02C, "\xAB\xCD");
    for (std::size_t i = 0; i < 32; ++i)
        data[0x030 + i] = static_cast<std::uint8_t>(0x10 + i);
    put(data, 0x050, "12311999");

    const DiscSystemArea area = ReadDiscSystemArea(data);
    EXPECT_EQ(area.systemId, "SEGADISCSYSTEM  ");
    EXPECT_EQ(area.volumeName, "VOLUME");
    EXPECT_EQ(area.systemName, "SEGASYSTEM ");
    EXPECT_EQ(area.buildDate, "12311999");
    EXPECT_EQ(area.volumeSystem, 0x0102);
    EXPECT_EQ(area.volumeType, 0x0304);
    EXPECT_EQ(area.systemVersion, 0xABCD);
    const std::uint32_t longs[] = {area.ipOffset, area.ipSize, area.ipEntry, area.ipWorkRam,
                                   area.spOffset, area.spSize, area.spEntry, area.spWorkRam};
    for (std::uint32_t i = 0; i < 8; ++i) {
        const std::uint32_t first = 0x10 + 4 * i;
        EXPECT_EQ(longs[i], first << 24 | (first + 1) << 16 | (first + 2) << 8 | (first + 3)) << i;
    }
}

TEST(DiscSystemArea, EachReaderDecidesTheRegionItsOwnWay) {
    using R = Region;
    const std::vector<R> all = {R::Japan, R::Americas, R::Europe};
    struct RegionCase {
        std::uint8_t byte20B;
        std::vector<R> gpgx, blastEm;
    };
    // Made-up programs match none of the CRC-32s: ares then allows every region and
    // rom-properties none.
    for (const RegionCase& c :
         {RegionCase{0x64, {R::Europe}, {R::Europe}}, RegionCase{0xA1, {R::Japan}, {R::Japan}},
          RegionCase{0x7A, {R::Americas}, {R::Americas}}, RegionCase{0x00, {R::Americas}, {}}}) {
        UserData data = madeUpUserData();
        data[0x20B] = c.byte20B;
        const std::vector<DiscRegionReading> readings = ReadDiscRegion(data);
        ASSERT_EQ(readings.size(), 4u);
        const std::vector<R> expected[] = {c.gpgx, c.blastEm, all, {}};
        for (std::size_t i = 0; i < readings.size(); ++i) {
            EXPECT_EQ(readings[i].regions, expected[i])
                << readings[i].reader << ' ' << int{c.byte20B};
            EXPECT_FALSE(readings[i].how.empty());
        }
    }
}

TEST(DiscSystemArea, SecurityCrcIsTheOrdinaryCrc32) {
    const std::string_view check = "123456789";
    EXPECT_EQ(
        ComputeCrc32(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())),
        0xCBF43926u);
    EXPECT_EQ(ComputeCrc32({}), 0u);
}

TEST(DiscSystemArea, Cd32xIsNamedAt0x100) {
    UserData data = madeUpUserData();
    EXPECT_FALSE(IsCd32x(data));
    put(data, 0x100, "SEGA 32X        ");
    EXPECT_TRUE(IsCd32x(data));
    put(data, 0x100, "SEGA GENESIS    ");
    EXPECT_FALSE(IsCd32x(data));
}
