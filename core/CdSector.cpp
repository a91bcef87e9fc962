// SPDX-License-Identifier: MIT
#include "CdSector.h"

#include "Crc32.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

// Sector layout (ECMA-130; the sector diagram of ecm-tools' ecm.c and ares' nall/cd/edc.hpp and
// rspc.hpp describe it the same way).
constexpr std::array<std::uint8_t, 12> Sync{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t EdcCoveredSize = 2064; // sync, address, mode and user data
constexpr std::size_t EdcOffset = 2064;
constexpr std::size_t ZeroOffset = 2068, ZeroSize = 8;

// The parities treat bytes 12..2351 as 16-bit words and code the high and the low bytes of
// the words apart, as two planes. Words 0..1031 hold address, mode, user data, EDC and the zero
// bytes; P parity is words 1032..1117, Q parity 1118..1169.
constexpr std::size_t ParityWordsOffset = 12;
constexpr std::size_t PQWords = 1118; // the words Q covers: everything before Q

// One family of Reed-Solomon codewords with two parity symbols each, over GF(2^8) with field
// polynomial x^8+x^4+x^3+x^2+1 (0x11D) and parity roots 1 and alpha (ECMA-130; ecm.c's
// eccedc_init and ares' reed-solomon.hpp GaloisField<u8,255,0x11d> use the same field).
// word(c, k) is the word that is symbol k of codeword c; the last two symbols are the parity.
struct ParityCode {
    std::size_t codewords;
    std::size_t dataSymbols;
    std::size_t (*word)(std::size_t codeword, std::size_t symbol);
};

// P: 43 columns of a 26-row matrix of words, RS(26,24), parity in rows 24 and 25.
constexpr ParityCode PCode{43, 24, [](std::size_t c, std::size_t k) { return 43 * k + c; }};
// Q: 26 diagonals through the 1118 words P leaves with its parity included, RS(45,43).
constexpr ParityCode QCode{26, 43, [](std::size_t c, std::size_t k) {
                               return k < 43 ? (44 * k + 43 * c) % PQWords
                                             : PQWords + c + 26 * (k - 43);
                           }};

constexpr std::uint8_t timesAlpha(std::uint8_t value) {
    return static_cast<std::uint8_t>((value << 1) ^ ((value & 0x80) ? 0x11D : 0));
}

std::size_t byteOf(const ParityCode& code, std::size_t codeword, std::size_t symbol,
                   std::size_t plane) {
    return ParityWordsOffset + 2 * code.word(codeword, symbol) + plane;
}

// The remainder of the data polynomial times x^2 divided by (x+1)(x+alpha) = x^2 + (1+alpha)x +
// alpha, the first data symbol being the highest power: the parity that makes the codeword
// vanish at both roots.
std::pair<std::uint8_t, std::uint8_t> parityOf(const RawSector& sector, const ParityCode& code,
                                               std::size_t codeword, std::size_t plane) {
    std::uint8_t high = 0, low = 0;
    for (std::size_t k = 0; k < code.dataSymbols; ++k) {
        const std::uint8_t feedback = sector[byteOf(code, codeword, k, plane)] ^ high;
        high = low ^ timesAlpha(feedback) ^ feedback;
        low = timesAlpha(feedback);
    }
    return {high, low};
}

void writeParity(RawSector& sector, const ParityCode& code) {
    for (std::size_t c = 0; c < code.codewords; ++c)
        for (std::size_t plane = 0; plane < 2; ++plane) {
            const auto [first, second] = parityOf(sector, code, c, plane);
            sector[byteOf(code, c, code.dataSymbols, plane)] = first;
            sector[byteOf(code, c, code.dataSymbols + 1, plane)] = second;
        }
}

bool parityHolds(const RawSector& sector, const ParityCode& code) {
    for (std::size_t c = 0; c < code.codewords; ++c)
        for (std::size_t plane = 0; plane < 2; ++plane) {
            const auto [first, second] = parityOf(sector, code, c, plane);
            if (sector[byteOf(code, c, code.dataSymbols, plane)] != first ||
                sector[byteOf(code, c, code.dataSymbols + 1, plane)] != second)
                return false;
        }
    return true;
}

std::uint32_t storedEdc(const RawSector& sector) {
    std::uint32_t edc = 0;
    for (std::size_t i = 0; i < 4; ++i)
        edc |= std::uint32_t{sector[EdcOffset + i]} << (8 * i);
    return edc;
}

} // namespace

bool HasRawSectorSync(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= Sync.size() && std::equal(Sync.begin(), Sync.end(), bytes.begin());
}

// (x^16+x^15+x^2+1)(x^16+x^2+x+1), as ares' nall/cd/edc.hpp factors it; ecm.c starts it at 0
// and applies no final XOR.
std::uint32_t ComputeEdc(std::span<const std::uint8_t> bytes) {
    return ReflectedCrc32<0xD8018001>::update(0, bytes);
}

void RegenerateMode1Sector(RawSector& sector) {
    const std::uint32_t edc = ComputeEdc(std::span(sector).first(EdcCoveredSize));
    for (std::size_t i = 0; i < 4; ++i)
        sector[EdcOffset + i] = static_cast<std::uint8_t>(edc >> (8 * i));
    std::fill_n(sector.begin() + ZeroOffset, ZeroSize, 0);
    writeParity(sector, PCode); // before Q, which covers it
    writeParity(sector, QCode);
}

SectorCheck CheckMode1Sector(const RawSector& sector) {
    return {ComputeEdc(std::span(sector).first(EdcCoveredSize)) == storedEdc(sector),
            parityHolds(sector, PCode) && parityHolds(sector, QCode)};
}

} // namespace quillon
