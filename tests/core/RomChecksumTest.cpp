// SPDX-License-Identifier: MIT
#include "RomChecksum.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace quillon;
using quillon::test::Bytes;
using quillon::test::randomBytes;

namespace {

// Written straight from the definition, one word at a time, as a reference.
RomChecksum referenceChecksum(const Bytes& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t p = 512; p + 1 < bytes.size(); p += 2)
        sum = (sum + bytes[p] * 256u + bytes[p + 1]) & 0xFFFF;
    return static_cast<RomChecksum>(sum);
}

RomChecksum checksumOf(const Bytes& bytes) {
    return ComputeRomChecksum(bytes.data(), bytes.size());
}

} // namespace

TEST(RomChecksum, KnownValues) {
    Bytes rom(514, 0xEE);
    rom[512] = 0x12;
    rom[513] = 0x34;
    EXPECT_EQ(checksumOf(rom), 0x1234);
    rom.push_back(0xFF); // an unpaired last byte is left out
    EXPECT_EQ(checksumOf(rom), 0x1234);

    Bytes wraps(516, 0);
    wraps[512] = 0xFF;
    wraps[513] = 0xFF;
    wraps[515] = 0x02;
    EXPECT_EQ(checksumOf(wraps), 0x0001);

    // The header is never summed: a file of 513 bytes or fewer gives zero whatever it holds.
    for (std::size_t size : {0, 1, 2, 511, 512, 513})
        EXPECT_EQ(checksumOf(Bytes(size, 0xFF)), 0) << size;
}

TEST(RomChecksum, MatchesTheReferenceOnEveryLengthUpTo2048) {
    const Bytes data = randomBytes(2048, 1);
    for (std::size_t length = 0; length <= data.size(); ++length) {
        const Bytes prefix(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(checksumOf(prefix), referenceChecksum(prefix)) << "length " << length;
    }
}

TEST(RomChecksum, MatchesTheReferenceOnLargeOddAndEvenSizes) {
    for (std::size_t size : {(1u << 20) + 1, (4u << 20), (4u << 20) + 3, (5u << 20) - 1}) {
        const Bytes data = randomBytes(size, static_cast<std::uint32_t>(size));
        EXPECT_EQ(checksumOf(data), referenceChecksum(data)) << size;
    }
    // All 0xFF bytes make the per-byte sums overflow their lanes many times over.
    const Bytes ones(64u << 20, 0xFF);
    EXPECT_EQ(checksumOf(ones), referenceChecksum(ones));
}

TEST(RomChecksum, PiecesOfAnySizeSumLikeTheWhole) {
    const Bytes data = randomBytes(40000, 7);
    for (std::size_t piece : {1, 2, 3, 7, 511, 512, 513, 4096, 40000}) {
        RomChecksumAccumulator accumulator;
        for (std::size_t at = 0; at < data.size(); at += piece)
            accumulator.add({data.data() + at, std::min(piece, data.size() - at)});
        EXPECT_EQ(accumulator.result(), referenceChecksum(data)) << "pieces of " << piece;
    }
}

// Bytes of one value, and words kept as an interleaved image keeps them (high bytes apart from
// low ones), sum as the same bytes handed over one by one, before and after the header ends and
// after an unpaired byte.
TEST(RomChecksum, RepeatedBytesAndSplitWordsSumLikeTheBytes) {
    const Bytes data = randomBytes(3000, 9);
    for (std::size_t at : {0, 100, 511, 512, 513}) {
        Bytes expected(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(at));
        RomChecksumAccumulator sum;
        sum.add({expected.data(), expected.size()});
        sum.addRepeated(0xFF, 1001);
        expected.insert(expected.end(), 1001, 0xFF);
        Bytes high, low;
        for (std::size_t i = 0; i < 600; ++i) {
            high.push_back(data[at + 2 * i]);
            low.push_back(data[at + 2 * i + 1]);
            expected.push_back(high.back());
            expected.push_back(low.back());
        }
        sum.addSplitWords(high, low);
        EXPECT_EQ(sum.result(), referenceChecksum(expected)) << "from " << at;
    }
}

// Each way of summing this processor can run, at any length and either alignment, where the
// vector loops hand over to their tails.
TEST(RomChecksum, EveryWayOfSummingAgrees) {
    const Bytes data = randomBytes(2 * 700 + 1, 8);
    const auto reference = [](const std::uint8_t* bytes, std::size_t words) {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < words; ++i)
            sum = (sum + bytes[2 * i] * 256u + bytes[2 * i + 1]) & 0xFFFF;
        return static_cast<std::uint16_t>(sum);
    };
    ASSERT_FALSE(AvailableWordSummers().empty());
    for (const WordSummer& summer : AvailableWordSummers()) {
        for (std::size_t start : {0, 1}) {
            for (std::size_t words = 0; words <= 700; ++words)
                ASSERT_EQ(summer.sum(data.data() + start, words),
                          reference(data.data() + start, words))
                    << summer.name << ", " << words << " words from " << start;
        }
    }
}
