// SPDX-License-Identifier: MIT
// Values given on the command line as the header bytes they stand for, or why they cannot be
// written exactly (a refusal of no file, its reason said after the option).
#pragma once

#include "CharacterSet.h"
#include "Outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::cli {

// A text (UTF-8) padded with spaces to the field's length.
Result<ByteText> parseTextValue(std::string_view typed, std::uint32_t length);

// A 32-bit address in hexadecimal, "0x" before it if need be: four bytes, high byte first.
Result<ByteText> parseAddressValue(std::string_view typed);

// "none", or KIND:START-END with a kind of SaveMemoryKindTable: the extra-memory block's twelve
// bytes.
Result<ByteText> parseExtraMemoryValue(std::string_view typed);

// The largest ROM whose last byte a 32-bit ROM end can name.
inline constexpr std::uint64_t largestRomSize = std::uint64_t{1} << 32;

// A size as pad takes it: bytes, with K or M after them, up to largestRomSize, or "pow2" for the
// next power of two from fileSize and from 128 KiB on. Nothing when it is none of these.
std::optional<std::uint64_t> parseSizeValue(std::string_view typed, std::uint64_t fileSize);

// A checksum in hexadecimal, with leading zeros and blanks around it if need be: two bytes.
Result<ByteText> parseChecksumValue(std::string_view typed);

// The text quoted for a message, with anything unprintable written as an escape.
std::string quotedText(std::string_view text);

} // namespace quillon::cli
