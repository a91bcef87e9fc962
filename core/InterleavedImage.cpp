// SPDX-License-Identifier: MIT
#include "InterleavedImage.h"

#include <array>
#include <cstring>

namespace quillon {

namespace {

constexpr std::size_t halfBlock = InterleavedBlockSize / 2;

// Consoles with the trademark check look for "SEGA" at 0x100; some ROMs have it one byte later.
bool hasSegaAtConsoleName(const std::uint8_t* header) {
    return std::memcmp(header + 0x100, "SEGA", 4) == 0 ||
           std::memcmp(header + 0x101, "SEGA", 4) == 0;
}

} // namespace

void DeinterleaveBlock(const std::uint8_t* block, std::uint8_t* rom) {
    for (std::size_t i = 0; i < halfBlock; ++i) {
        rom[2 * i] = block[halfBlock + i];
        rom[2 * i + 1] = block[i];
    }
}

bool IsInterleavedImage(std::span<const std::uint8_t> start, std::uint64_t fileLength) {
    if (fileLength < InterleavedProbeSize ||
        (fileLength - CopierHeaderSize) % InterleavedBlockSize != 0 ||
        start.size() < InterleavedProbeSize || hasSegaAtConsoleName(start.data()))
        return false;
    std::array<std::uint8_t, InterleavedBlockSize> rom;
    DeinterleaveBlock(start.data() + CopierHeaderSize, rom.data());
    return hasSegaAtConsoleName(rom.data());
}

} // namespace quillon
