// SPDX-License-Identifier: MIT
#include "InterleavedImage.h"

#include "HeaderInfo.h"

namespace quillon {

namespace {

constexpr std::size_t halfBlock = InterleavedBlockSize / 2;

bool hasTrademarkAt(const std::uint8_t* rom) {
    return HasTrademark(
        std::span<const std::uint8_t, ChecksummedRegionStart>(rom, ChecksummedRegionStart));
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
        start.size() < InterleavedProbeSize || hasTrademarkAt(start.data()))
        return false;
    HeaderBytes rom;
    // Only the first bytes of the block put back in order are needed.
    for (std::size_t i = 0; i < rom.size() / 2; ++i) {
        rom[2 * i] = start[CopierHeaderSize + halfBlock + i];
        rom[2 * i + 1] = start[CopierHeaderSize + i];
    }
    return hasTrademarkAt(rom.data());
}

} // namespace quillon
