// SPDX-License-Identifier: MIT
// Mode 1 sectors made for the tests: sync, the address of a block and user data, regenerated.
#pragma once

#include "CdSector.h"
#include "RomBuilder.h"
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

// The first sector's user data of a Mega-CD disc: its system area, a header nothing finds fault
// with at 0x100 (region "U"), and byte 0x20B of an American security program.
inline Bytes discUserData() {
    Bytes data(SectorUserDataSize, 0);
    setBytes(data, 0, "SEGADISCSYSTEM  QUILLONDISC");
    setBytes(data, 0x20, "SEGASYSTEM ");
    setAddress(data, 0x40, 0x1000); // the sub-CPU program, where discs usually have it
    setBytes(data, 0x50, "12082026");
    writeCleanHeader(data);
    setBytes(data, 0x1F0, "U  ");
    data[0x20B] = 0x7A;
    return data;
}

// A disc image of sectors sectors, the first holding first and the rest zeros: 2048 bytes a
// sector (an ISO), or raw Mode 1 sectors of 2352.
inline Bytes discImage(const Bytes& first, bool raw, std::uint32_t sectors = 2) {
    Bytes image;
    for (std::uint32_t lba = 0; lba < sectors; ++lba) {
        const Bytes data = lba == 0 ? first : Bytes(SectorUserDataSize, 0);
        if (raw) {
            const RawSector sector = mode1Sector(lba, data);
            image.insert(image.end(), sector.begin(), sector.end());
        } else {
            image.insert(image.end(), data.begin(), data.end());
        }
    }
    return image;
}

} // namespace quillon::test
