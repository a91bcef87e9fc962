// SPDX-License-Identifier: MIT
#include "NumberSyntax.h"

#include "HexText.h"
#include "TextDisplay.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace quillon::cli {

namespace {

struct Unit {
    char letter; // upper case; its lower case is the same unit
    std::uint64_t bytes;
};

constexpr std::array<Unit, 2> units{{{'K', 1024}, {'M', 1024 * 1024}}};

// The most digits a number below 2^64 has, leading zeros left out: more is too large anyway.
constexpr std::size_t mostHexDigits = 16;
constexpr std::size_t mostDecimalDigits = 19;

std::string_view syntaxOf(BareDigits bare) {
    return bare == BareDigits::Hexadecimal
               ? "hexadecimal digits, 0x before them if you like, or decimal ones with K or M "
                 "after them"
               : "decimal digits, or hexadecimal ones after 0x, with K or M after them if you "
                 "like";
}

bool isDecimal(char c) { return c >= '0' && c <= '9'; }

} // namespace

Result<std::uint64_t> parseNumber(std::string_view typed, const NumberKind& kind) {
    const std::string shown = quotedText(typed);
    std::string_view digits = trimBlanks(typed);
    bool hexadecimal = kind.bare == BareDigits::Hexadecimal;
    std::uint64_t unit = 1;
    const auto suffix = std::find_if(units.begin(), units.end(), [&](const Unit& row) {
        return !digits.empty() &&
               std::toupper(static_cast<unsigned char>(digits.back())) == row.letter;
    });
    if (suffix != units.end()) {
        unit = suffix->bytes;
        hexadecimal = false;
        digits.remove_suffix(1);
    }
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        hexadecimal = true;
        digits.remove_prefix(2);
    }
    const bool wellFormed =
        !digits.empty() && std::all_of(digits.begin(), digits.end(), [&](char c) {
            return hexadecimal ? hexDigitValue(c).has_value() : isDecimal(c);
        });
    if (!wellFormed)
        return BadValue(shown + " is no " + std::string(kind.noun) + ": " +
                        std::string(syntaxOf(kind.bare)) + std::string(kind.otherwise));
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    const Problem tooLarge = BadValue(shown + " is more than " + std::string(kind.largestText));
    if (digits.size() > (hexadecimal ? mostHexDigits : mostDecimalDigits))
        return tooLarge;
    std::uint64_t value = 0;
    if (hexadecimal)
        value = *parseHexDigits(digits);
    else
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (value > kind.largest / unit)
        return tooLarge;
    return value * unit;
}

std::string numberSyntaxHelp() {
    return "Numbers:\n"
           "  Addresses, checksums, save-memory ranges and sizes are typed alike. 0x or 0X\n"
           "  before the digits makes them hexadecimal, in upper or lower case; K or M (or k,\n"
           "  m) after them counts KiB or MiB and makes digits without 0x decimal. Other\n"
           "  digits are hexadecimal in an address or a checksum, decimal in a size:\n"
           "  --rom-end 3fffff and --rom-end 0x3FFFFF are one address; --to 262144,\n"
           "  --to 256K, --to 256k and --to 0x40000 one size.";
}

} // namespace quillon::cli
