// SPDX-License-Identifier: MIT
#include "HexText.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::string_view hexDigits = "0123456789ABCDEF";

} // namespace

std::string ToHex(std::uint32_t value) {
    std::string digits;
    do {
        digits.push_back(hexDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string PadHex(std::string_view text, std::int32_t width) {
    const std::size_t size = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (text.size() > size)
        text.remove_prefix(text.size() - size);
    std::string result(size - text.size(), '0');
    result.append(text);
    return result;
}

std::string FormatStoredChecksum(std::uint8_t high, std::uint8_t low) {
    return PadHex(ToHex(high), 2) + PadHex(ToHex(low), 2);
}

std::string FormatRomChecksum(std::uint16_t value) { return PadHex(ToHex(value), 4); }

std::optional<std::uint32_t> hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    return std::nullopt;
}

std::string hexEscape(std::uint8_t byte) { return "\\x" + PadHex(ToHex(byte), 2); }

std::string_view trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint64_t> parseHexDigits(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto digit = hexDigitValue(c);
        if (!digit || value > (UINT64_MAX >> 4))
            return std::nullopt;
        value = (value << 4) | *digit;
    }
    return value;
}

std::optional<std::uint32_t> ParseChecksumEntry(std::string_view text) {
    const auto value = parseHexDigits(trimBlanks(text));
    if (!value || *value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

ChecksumBytes SplitChecksum(std::uint32_t value) {
    return {static_cast<std::uint8_t>((value >> 8) & 0xFF),
            static_cast<std::uint8_t>(value & 0xFF)};
}

} // namespace quillon
