// SPDX-License-Identifier: MIT
// Mode 1 sectors made for the tests: sync, the address of a block and user data, regenerated.
#pragma once

#include "CdSector.h"
#include "TempDir.h"

#include <algorithm>

namespace quillon::test {

inline std::uint8_t bcd(std::uint32_t value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

inline RawSector mode1Sector(std::uint32_t lba, const Bytes& userData) {
    RawSector sector{};
    std::fill_n(sector.begin() + 1, 10, 0xFF);
    const std::uint32_t block = lba + 150; // the address counts the two-second lead-in
    sector[12] = bcd(block / 75 / 60);
    sector[13] = bcd(block / 75 % 60);
    sector[14] = bcd(block % 75);
    sector[15] = 1;
    std::copy(userData.begin(), userData.end(), sector.begin() + RawUserDataOffset);
    RegenerateMode1Sector(sector);
    return sector;
}

} // namespace quillon::test
