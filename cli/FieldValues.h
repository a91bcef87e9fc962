// SPDX-License-Identifier: MIT
// Values given on the command line as the header bytes they stand for, or why they cannot be
// written exactly (a refusal of no file, its reason said after the option).
#pragma once

#include "CharacterSet.h"
#include "NumberSyntax.h"
#include "Outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::cli {

// A text (UTF-8) padded with spaces to the field's length.
Result<ByteText> parseTextValue(std::string_view typed, std::uint32_t length);

// A 32-bit address (AddressNumber): four bytes, high byte first.
Result<ByteText> parseAddressValue(std::string_view typed);

// "none", or KIND:START-END with a kind of SaveMemoryKindTable: the extra-memory block's twelve
// bytes.
Result<ByteText> parseExtraMemoryValue(std::string_view typed);

// A size as pad takes it (SizeNumber), or "pow2" for the next power of two from fileSize and
// from 128 KiB on.
Result<std::uint64_t> parseSizeValue(std::string_view typed, std::uint64_t fileSize);

// A checksum (ChecksumNumber): two bytes.
Result<ByteText> parseChecksumValue(std::string_view typed);

} // namespace quillon::cli
