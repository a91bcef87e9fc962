// SPDX-License-Identifier: MIT
// How every number on the command line is typed, addresses, checksums, save-memory ranges and
// sizes alike: "0x" (or "0X") before the digits makes them hexadecimal; "K" or "M" (or "k",
// "m") after them counts KiB or MiB, and makes digits without "0x" decimal; other digits read
// as each kind of number always has, hexadecimal for an address or a checksum, decimal for a
// size. Digits are upper or lower case; leading zeros and blanks around the number are free.
#pragma once

#include "Outcome.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::cli {

// How digits with neither "0x" before them nor K or M after them read.
enum class BareDigits { Hexadecimal, Decimal };

struct NumberKind {
    std::string_view noun; // "address": what a text that is no number is not
    BareDigits bare;
    std::uint64_t largest;
    std::string_view largestText; // said of a number above it
    std::string_view otherwise;   // what else the option takes, for the refusal: ", or pow2"
};

// The largest ROM whose last byte a 32-bit ROM end can name.
inline constexpr std::uint64_t largestRomSize = std::uint64_t{1} << 32;

inline constexpr NumberKind AddressNumber{"address", BareDigits::Hexadecimal, 0xFFFFFFFF,
                                          "FFFFFFFF, the largest 32-bit address", ""};
inline constexpr NumberKind ChecksumNumber{"checksum", BareDigits::Hexadecimal, 0xFFFF,
                                           "FFFF, the largest 16-bit checksum", ""};
inline constexpr NumberKind SizeNumber{"size", BareDigits::Decimal, largestRomSize,
                                       "4 GiB, the largest ROM a 32-bit ROM end can name",
                                       ", or pow2"};

// The number typed, or why it is none of this kind (a refusal of no file).
Result<std::uint64_t> parseNumber(std::string_view typed, const NumberKind& kind);

// The rule above in a paragraph, with examples, for the program's help and its manual page.
std::string numberSyntaxHelp();

} // namespace quillon::cli
