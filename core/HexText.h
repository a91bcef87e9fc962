// SPDX-License-Identifier: MIT
// Hexadecimal text as the user sees and types it, and the checksum's two stored bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Upper-case hexadecimal without leading zeros; zero gives "0".
std::string ToHex(std::uint32_t value);

// Fits text into exactly width characters: keeps the right-most ones, pads with "0" on the left.
std::string PadHex(std::string_view text, std::int32_t width);

// The stored checksum bytes as four digits, high byte first.
std::string FormatStoredChecksum(std::uint8_t high, std::uint8_t low);

std::string FormatRomChecksum(std::uint16_t value);

// The checksum editor's text as a number: one or more hex digits that fit in 32 bits, with
// optional spaces or tabs around them. Anything else (empty, a sign, a prefix) is invalid.
std::optional<std::uint32_t> ParseChecksumEntry(std::string_view text);

struct ChecksumBytes {
    std::uint8_t high;
    std::uint8_t low;
    friend bool operator==(const ChecksumBytes&, const ChecksumBytes&) = default;
};

// The two bytes to store; bits above 15 are dropped.
ChecksumBytes SplitChecksum(std::uint32_t value);

// One digit's value, upper or lower case.
std::optional<std::uint32_t> hexDigitValue(char c);

// "\x" and two upper-case digits: a byte that cannot be shown as it is.
std::string hexEscape(std::uint8_t byte);

// Without the spaces and tabs around it.
std::string_view trimBlanks(std::string_view text);

// Digits only, upper or lower case, value within 64 bits (leading zeros are free).
std::optional<std::uint64_t> parseHexDigits(std::string_view digits);

} // namespace quillon
