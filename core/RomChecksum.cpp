// SPDX-License-Identifier: MIT
#include "RomChecksum.h"

#include "HeaderLayout.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon {

namespace {

// Every way of summing adds the words in the machine's own order after swapping their bytes:
// sixteen-bit additions wrap exactly as the checksum does, so the sum needs no wider lanes.
std::uint16_t sumWordsPortably(const std::uint8_t* bytes, std::size_t wordCount) {
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

#if defined(__x86_64__)

std::uint16_t sumLanes(const std::uint16_t* lanes, std::size_t count) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = static_cast<std::uint16_t>(sum + lanes[i]);
    return sum;
}

// Sixteen-bit lanes, as many as a vector register of each instruction set holds.
using Words128 = std::uint16_t __attribute__((vector_size(16)));
using Words256 = std::uint16_t __attribute__((vector_size(32)));

template <typename Words>
[[gnu::always_inline]] inline void addSwappedWords(Words& sum, const std::uint8_t* at) {
    Words words;
    std::memcpy(&words, at, sizeof words);
    sum += (words << 8) | (words >> 8);
}

// One loop for every vector width, written with the compiler's vector types so that the vectors
// do not depend on the optimisation level, and with four independent sums spelled out, so that
// the additions need not wait on each other and the sums stay in registers even where the
// compiler unrolls nothing. Nothing in it names an instruction set: inlined into a function built
// for one, it takes that set's vectors.
template <typename Words>
[[gnu::always_inline]] inline std::uint16_t sumWordsInVectors(const std::uint8_t* bytes,
                                                              std::size_t wordCount) {
    constexpr std::size_t width = sizeof(Words);
    constexpr std::size_t lanes = width / 2;
    Words sum0 = {}, sum1 = {}, sum2 = {}, sum3 = {};
    std::size_t i = 0;
    for (; i + 4 * lanes <= wordCount; i += 4 * lanes) {
        const std::uint8_t* at = bytes + 2 * i;
        addSwappedWords(sum0, at);
        addSwappedWords(sum1, at + width);
        addSwappedWords(sum2, at + 2 * width);
        addSwappedWords(sum3, at + 3 * width);
    }
    const Words total = (sum0 + sum1) + (sum2 + sum3);
    std::uint16_t totals[lanes];
    std::memcpy(totals, &total, width);
    return static_cast<std::uint16_t>(sumLanes(totals, lanes) +
                                      sumWordsPortably(bytes + 2 * i, wordCount - i));
}

// SSE2 is part of every x86-64 processor.
std::uint16_t sumWordsSse2(const std::uint8_t* bytes, std::size_t wordCount) {
    return sumWordsInVectors<Words128>(bytes, wordCount);
}

[[gnu::target("avx2")]] std::uint16_t sumWordsAvx2(const std::uint8_t* bytes,
                                                   std::size_t wordCount) {
    return sumWordsInVectors<Words256>(bytes, wordCount);
}

// A byte sum of 16 bytes at a time: psadbw against zero adds each half's eight bytes.
std::uint64_t sumBytesSse2(const std::uint8_t* bytes, std::size_t count) {
    constexpr std::size_t vector = sizeof(__m128i);
    __m128i sums = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + vector <= count; i += vector) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        sums = _mm_add_epi64(sums, _mm_sad_epu8(chunk, _mm_setzero_si128()));
    }
    alignas(vector) std::uint64_t halves[2];
    _mm_store_si128(reinterpret_cast<__m128i*>(halves), sums);
    std::uint64_t sum = halves[0] + halves[1];
    for (; i < count; ++i)
        sum += bytes[i];
    return sum;
}

#endif

std::uint64_t sumBytes(const std::uint8_t* bytes, std::size_t count) {
#if defined(__x86_64__)
    return sumBytesSse2(bytes, count);
#else
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return sum;
#endif
}

std::vector<WordSummer> findWordSummers() {
    std::vector<WordSummer> summers;
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2"))
        summers.push_back({"AVX2", sumWordsAvx2});
    summers.push_back({"SSE2", sumWordsSse2});
#endif
    summers.push_back({"portable", sumWordsPortably});
    return summers;
}

} // namespace

const std::vector<WordSummer>& AvailableWordSummers() {
    static const std::vector<WordSummer> summers = findWordSummers();
    return summers;
}

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
    static const auto sumWords = AvailableWordSummers().front().sum;
    m_sum += sumWords(bytes.data(), bytes.size() / 2);
    if (bytes.size() % 2 != 0)
        m_pendingHigh = bytes.back();
}

void RomChecksumAccumulator::addRepeated(std::uint8_t byte, std::uint64_t count) {
    if (m_position < ChecksummedRegionStart) {
        const auto skip = std::min<std::uint64_t>(ChecksummedRegionStart - m_position, count);
        m_position += skip;
        count -= skip;
    }
    if (count == 0)
        return;
    m_position += count;
    if (m_pendingHigh >= 0) {
        m_sum += (static_cast<std::uint32_t>(m_pendingHigh) << 8) + byte;
        m_pendingHigh = -1;
        --count;
    }
    // Each word is the byte twice; only the sum's low 16 bits count, so the words do modulo 2^16.
    m_sum += static_cast<std::uint32_t>((count / 2) % 0x10000) * (byte * 0x101u);
    if (count % 2 != 0)
        m_pendingHigh = byte;
}

void RomChecksumAccumulator::addSplitWords(std::span<const std::uint8_t> high,
                                           std::span<const std::uint8_t> low) {
    // Whole words past the header sum as 256 times the high bytes plus the low ones; anything
    // else goes word by word.
    if (m_position < ChecksummedRegionStart || m_pendingHigh >= 0 || high.size() != low.size()) {
        for (std::size_t i = 0; i < high.size(); ++i) {
            const std::uint8_t word[2] = {high[i], i < low.size() ? low[i] : std::uint8_t{0}};
            add({word, i < low.size() ? 2u : 1u});
        }
        return;
    }
    m_sum += static_cast<std::uint32_t>((sumBytes(high.data(), high.size()) << 8) +
                                        sumBytes(low.data(), low.size()));
    m_position += 2 * high.size();
}

RomChecksum ComputeRomChecksum(const std::uint8_t* bytes, std::size_t length) {
    RomChecksumAccumulator accumulator;
    accumulator.add({bytes, length});
    return accumulator.result();
}

} // namespace quillon
