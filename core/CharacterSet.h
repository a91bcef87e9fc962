// SPDX-License-Identifier: MIT
// The program's one 8-bit character set: Windows-1252, with its five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) mapped to the C1 controls of the same number, so that every
// byte has a character of its own and that character maps back to the same byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Header texts are bytes kept in a std::string, one byte per character.
using ByteText = std::string;

char32_t decodeByte(std::uint8_t byte);

// The byte of a character, or nothing when the set has none for it.
std::optional<std::uint8_t> encodeCharacter(char32_t character);

std::u32string decodeText(std::string_view bytes);

// Characters without a byte become "?".
ByteText encodeText(std::u32string_view text);

} // namespace quillon
