// SPDX-License-Identifier: MIT
// The checksum a Mega Drive computes over its ROM: the 16-bit wrap-around sum of the
// big-endian words from 0x200 to the end, an unpaired last byte left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

using RomChecksum = std::uint16_t;

// Sums a file handed over in consecutive pieces of any size, so a file of any length can be
// streamed through a small buffer.
class RomChecksumAccumulator {
public:
    void add(std::span<const std::uint8_t> bytes);
    // The same as adding count bytes of one value, at once whatever the count.
    void addRepeated(std::uint8_t byte, std::uint64_t count);
    // The same as adding the words high[i] low[i] in turn, as an interleaved image keeps them:
    // the high bytes together, the low bytes together.
    void addSplitWords(std::span<const std::uint8_t> high, std::span<const std::uint8_t> low);
    RomChecksum result() const { return static_cast<RomChecksum>(m_sum); }

private:
    std::uint64_t m_position = 0; // file offset of the next byte handed to add()
    std::uint32_t m_sum = 0;      // only the low 16 bits are meaningful
    int m_pendingHigh = -1;       // first byte of a word whose second byte has not come yet
};

// One way of summing big-endian words with 16-bit wrap-around.
struct WordSummer {
    std::string_view name;
    std::uint16_t (*sum)(const std::uint8_t* bytes, std::size_t wordCount);
};

// The ways this processor can run, fastest first; the checksum uses the first.
const std::vector<WordSummer>& AvailableWordSummers();

// bytes holds the whole file, byte 0 first.
RomChecksum ComputeRomChecksum(const std::uint8_t* bytes, std::size_t length);

} // namespace quillon
