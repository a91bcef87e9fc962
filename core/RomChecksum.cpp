// SPDX-License-Identifier: MIT
#include "RomChecksum.h"

#include "HeaderLayout.h"

#include <bit>
#include <cstring>

namespace quillon {

namespace {

// Sixteen-bit lanes wrap exactly as the checksum does, so the words are summed in the machine's
// own order after swapping their bytes; the compiler turns this into wide vector additions.
// Where the processor offers wider vectors, a second copy of the loop uses them; the choice
// between the copies is made by the ELF loader, so Windows has the one copy.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__) && defined(__ELF__)
#define QUILLON_WIDE_VECTORS [[gnu::target_clones("avx2", "default")]]
#else
#define QUILLON_WIDE_VECTORS
#endif

QUILLON_WIDE_VECTORS std::uint16_t sumBigEndianWords(const std::uint8_t* bytes,
                                                     std::size_t wordCount) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < wordCount; ++i) {
        std::uint16_t word;
        std::memcpy(&word, bytes + 2 * i, sizeof word);
        if constexpr (std::endian::native == std::endian::little)
            word = static_cast<std::uint16_t>((word << 8) | (word >> 8));
        sum = static_cast<std::uint16_t>(sum + word);
    }
    return sum;
}

} // namespace

void RomChecksumAccumulator::add(std::span<const std::uint8_t> bytes) {
    if (m_position < ChecksummedRegionStart) {
        const auto skip = static_cast<std::size_t>(
            std::min<std::uint64_t>(ChecksummedRegionStart - m_position, bytes.size()));
        m_position += skip;
        bytes = bytes.subspan(skip);
    }
    if (bytes.empty())
        return;
    m_position += bytes.size();

    if (m_pendingHigh >= 0) {
        m_sum += (static_cast<std::uint32_t>(m_pendingHigh) << 8) + bytes.front();
        m_pendingHigh = -1;
        bytes = bytes.subspan(1);
    }
    const std::size_t wordCount = bytes.size() / 2;
    m_sum += sumBigEndianWords(bytes.data(), wordCount);
    if (bytes.size() % 2 != 0)
        m_pendingHigh = bytes.back();
}

RomChecksum ComputeRomChecksum(const std::uint8_t* bytes, std::size_t length) {
    RomChecksumAccumulator accumulator;
    accumulator.add({bytes, length});
    return accumulator.result();
}

} // namespace quillon
