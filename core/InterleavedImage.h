// SPDX-License-Identifier: MIT
// Interleaved copier images (".SMD"): a 512-byte copier header, then the ROM in blocks of 16 KiB
// whose first half holds the odd bytes of the block and whose second half the even bytes. Every
// byte of the ROM has its place in the image, so a header is read and written through that
// mapping.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

inline constexpr std::size_t CopierHeaderSize = 512;
inline constexpr std::size_t InterleavedBlockSize = 16 * 1024;

// Where the ROM's byte at romOffset lies in its interleaved image.
constexpr std::uint64_t InterleavedOffset(std::uint64_t romOffset) {
    const std::uint64_t inBlock = romOffset % InterleavedBlockSize;
    const std::uint64_t half = inBlock % 2 != 0 ? 0 : InterleavedBlockSize / 2;
    return CopierHeaderSize + romOffset - inBlock + half + inBlock / 2;
}

// Why an interleaved image is not padded: its new bytes would need new blocks.
inline constexpr std::string_view InterleavedGrowthRefusal =
    "an interleaved copier (SMD) image cannot grow in place; convert it to a plain binary image "
    "first (quillon-cli convert IN OUT --to bin)";

// Why an interleaved image's console name keeps "SEGA": without it the image could no longer be
// told from a plain ROM, and would be read as one.
inline constexpr std::string_view InterleavedTrademarkRefusal =
    "an interleaved copier (SMD) image must keep \"SEGA\" at the start of its console name, or "
    "it can no longer be told from a plain ROM";

// Puts one block back in ROM order, and the other way round; both hold InterleavedBlockSize
// bytes.
void DeinterleaveBlock(const std::uint8_t* block, std::uint8_t* rom);
void InterleaveBlock(const std::uint8_t* rom, std::uint8_t* block);

// The copier header of an image of blockCount blocks, as copiers write it: the count of blocks
// (its low 8 bits), 03 for a ROM, and the marks AA BB 06 at 8 to 10.
std::array<std::uint8_t, CopierHeaderSize> MakeCopierHeader(std::uint64_t blockCount);

} // namespace quillon
