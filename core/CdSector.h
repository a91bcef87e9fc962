// SPDX-License-Identifier: MIT
// A raw 2352-byte CD-ROM sector in Mode 1 (ECMA-130): sync, address, mode, 2048 bytes of user
// data, then the EDC and the P and Q parities that guard them. A header edit inside a raw image
// changes the user data, so these must be made anew or every reader that checks them sees a
// damaged sector.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon {

inline constexpr std::size_t RawSectorSize = 2352;
inline constexpr std::size_t SectorUserDataSize = 2048;
inline constexpr std::size_t RawUserDataOffset = 16; // sync 12 + address 3 + mode 1

using RawSector = std::array<std::uint8_t, RawSectorSize>;

// Sync 00 FF x10 00 at the start of bytes (false when there are fewer than 12).
bool HasRawSectorSync(std::span<const std::uint8_t> bytes);

// CRC-32 (polynomial 0x8001801B, reflected, init 0, no final xor) over bytes.
std::uint32_t ComputeEdc(std::span<const std::uint8_t> bytes);

// Makes the EDC (bytes 0-2063 -> 2064..2067, low byte first), the 8 zero bytes at 2068..2075
// and the P (2076..2247) and Q (2248..2351) parities of a Mode 1 sector anew from its bytes
// 0..2063.
void RegenerateMode1Sector(RawSector& sector);

struct SectorCheck {
    bool edcOk = false; // the stored EDC is that of bytes 0..2063
    bool eccOk = false; // the stored P and Q are those of bytes 12..2075
};

SectorCheck CheckMode1Sector(const RawSector& sector);

} // namespace quillon
