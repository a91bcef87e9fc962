// SPDX-License-Identifier: MIT
#include "InterleavedImage.h"

namespace quillon {

namespace {

constexpr std::size_t halfBlock = InterleavedBlockSize / 2;

} // namespace

void DeinterleaveBlock(const std::uint8_t* block, std::uint8_t* rom) {
    for (std::size_t i = 0; i < halfBlock; ++i) {
        rom[2 * i] = block[halfBlock + i];
        rom[2 * i + 1] = block[i];
    }
}

void InterleaveBlock(const std::uint8_t* rom, std::uint8_t* block) {
    for (std::size_t i = 0; i < halfBlock; ++i) {
        block[halfBlock + i] = rom[2 * i];
        block[i] = rom[2 * i + 1];
    }
}

std::array<std::uint8_t, CopierHeaderSize> MakeCopierHeader(std::uint64_t blockCount) {
    std::array<std::uint8_t, CopierHeaderSize> header{};
    header[0] = static_cast<std::uint8_t>(blockCount & 0xFF);
    header[1] = 0x03;
    header[8] = 0xAA;
    header[9] = 0xBB;
    header[10] = 0x06;
    return header;
}

} // namespace quillon
