// SPDX-License-Identifier: MIT
#include "CdSector.h"

#include "CdSectorTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;
using quillon::test::Bytes;

TEST(CdSector, AllZeroSectorAtLbaZeroHasTheKnownEdcAndParities) {
    const RawSector sector = test::mode1Sector(0, Bytes(SectorUserDataSize, 0));
    const std::vector<std::uint8_t> at = {sector[12], sector[13], sector[14], sector[15]};
    EXPECT_EQ(at, (std::vector<std::uint8_t>{0x00, 0x02, 0x00, 0x01}));
    EXPECT_EQ(ComputeEdc(std::span(sector).first(2064)), 0x2B6813C5u);
    auto slice = [&](std::size_t from, std::size_t count) {
        return std::vector<std::uint8_t>(sector.begin() + from, sector.begin() + from + count);
    };
    EXPECT_EQ(slice(2064, 4), (std::vector<std::uint8_t>{0xC5, 0x13, 0x68, 0x2B}));
    EXPECT_EQ(slice(2068, 8), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(slice(2076, 8), (std::vector<std::uint8_t>{0x00, 0xF7, 0x00, 0xF5, 0, 0, 0, 0}));
    EXPECT_EQ(slice(2248, 8), (std::vector<std::uint8_t>{0x00, 0x41, 0, 0, 0, 0, 0, 0}));
}

TEST(CdSector, CheckFindsEveryDamagedPart) {
    const RawSector good = test::mode1Sector(1234, test::randomBytes(SectorUserDataSize, 7));
    const SectorCheck check = CheckMode1Sector(good);
    EXPECT_TRUE(check.edcOk && check.eccOk);

    struct Damage {
        std::size_t byte;
        bool edcOk, eccOk;
    };
    for (const Damage& damage :
         {Damage{12, false, false}, Damage{16, false, false}, Damage{2063, false, false},
          Damage{2065, false, false}, Damage{2076, true, false}, Damage{2247, true, false},
          Damage{2248, true, false}, Damage{2351, true, false}}) {
        RawSector bad = good;
        bad[damage.byte] ^= 0x10;
        const SectorCheck seen = CheckMode1Sector(bad);
        EXPECT_EQ(seen.edcOk, damage.edcOk) << damage.byte;
        EXPECT_EQ(seen.eccOk, damage.eccOk) << damage.byte;
    }
}

TEST(CdSector, RegenerateRewritesEverythingAfterTheUserData) {
    const RawSector good = test::mode1Sector(99, test::randomBytes(SectorUserDataSize, 8));
    RawSector scrambled = good;
    const Bytes noise = test::randomBytes(RawSectorSize - 2064, 9);
    std::copy(noise.begin(), noise.end(), scrambled.begin() + 2064);
    RegenerateMode1Sector(scrambled);
    EXPECT_EQ(scrambled, good);
}

TEST(CdSector, SyncIsTwelveBytes) {
    const RawSector sector = test::mode1Sector(0, Bytes(SectorUserDataSize, 0));
    EXPECT_TRUE(HasRawSectorSync(sector));
    EXPECT_FALSE(HasRawSectorSync(std::span(sector).first(11)));
    for (std::size_t i : {0, 1, 10, 11}) {
        RawSector bad = sector;
        bad[i] ^= 1;
        EXPECT_FALSE(HasRawSectorSync(bad)) << i;
    }
}
