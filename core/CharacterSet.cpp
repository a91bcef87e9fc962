// SPDX-License-Identifier: MIT
#include "CharacterSet.h"

#include <array>

namespace quillon {

namespace {

// Bytes 0x80-0x9F; everything else is the same number in Unicode (Latin-1).
constexpr std::array<char32_t, 32> highControlsBlock{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::uint8_t blockStart = 0x80;
constexpr std::uint8_t blockEnd = 0xA0;

} // namespace

char32_t decodeByte(std::uint8_t byte) {
    if (byte >= blockStart && byte < blockEnd)
        return highControlsBlock[byte - blockStart];
    return byte;
}

std::optional<std::uint8_t> encodeCharacter(char32_t character) {
    const bool inBlock = character >= blockStart && character < blockEnd;
    if (character <= 0xFF && !inBlock)
        return static_cast<std::uint8_t>(character);
    for (std::size_t i = 0; i < highControlsBlock.size(); ++i) {
        if (highControlsBlock[i] == character)
            return static_cast<std::uint8_t>(blockStart + i);
    }
    return std::nullopt;
}

std::u32string decodeText(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.push_back(decodeByte(static_cast<std::uint8_t>(byte)));
    return text;
}

ByteText encodeText(std::u32string_view text) {
    ByteText bytes;
    bytes.reserve(text.size());
    for (char32_t character : text)
        bytes.push_back(static_cast<char>(encodeCharacter(character).value_or('?')));
    return bytes;
}

} // namespace quillon
