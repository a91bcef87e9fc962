// SPDX-License-Identifier: MIT
#include "FieldValues.h"

#include "EnumNames.h"
#include "HeaderInfo.h"
#include "HexText.h"
#include "TextDisplay.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <optional>

namespace quillon::cli {

namespace {

Result<std::uint32_t> parseAddress(std::string_view typed) {
    const Result<std::uint64_t> address = parseNumber(typed, AddressNumber);
    if (!address)
        return address.problem();
    return static_cast<std::uint32_t>(*address);
}

// What the addresses of a save memory answering so must look like.
constexpr EnumNames<MemoryAccess, 4> parityRules{
    {{{MemoryAccess::Word, "an even start and an odd end"},
      {MemoryAccess::Even, "an even start and end"},
      {MemoryAccess::Odd, "an odd start and end"},
      {MemoryAccess::Other, "any"}}}};

} // namespace

Result<ByteText> parseTextValue(std::string_view typed, std::uint32_t length) {
    Result<ByteText> encoded = strictBytes(typed);
    if (!encoded)
        return encoded;
    if (encoded->size() > length)
        return BadValue("longer than the field's " + std::to_string(length) + " characters");
    encoded->resize(length, ' ');
    return encoded;
}

Result<ByteText> parseAddressValue(std::string_view typed) {
    const Result<std::uint32_t> address = parseAddress(typed);
    if (!address)
        return address.problem();
    return EncodeAddress(*address);
}

Result<ByteText> parseExtraMemoryValue(std::string_view typed) {
    constexpr std::uint32_t blockLength = 12;
    if (typed == "none")
        return ByteText(blockLength, ' ');
    const auto colon = typed.find(':');
    const auto dash = typed.find('-', colon == std::string_view::npos ? 0 : colon);
    const std::string_view name = typed.substr(0, colon);
    const auto kind = std::find_if(SaveMemoryKindTable.begin(), SaveMemoryKindTable.end(),
                                   [name](const SaveMemoryKind& row) { return row.name == name; });
    if (colon == std::string_view::npos || dash == std::string_view::npos ||
        kind == SaveMemoryKindTable.end()) {
        std::string kinds;
        for (const SaveMemoryKind& row : SaveMemoryKindTable)
            kinds.append(row.name).append(":START-END, ");
        return BadValue(quotedText(typed) + " is none of " + kinds + "none");
    }
    const Result<std::uint32_t> start = parseAddress(typed.substr(colon + 1, dash - colon - 1));
    const Result<std::uint32_t> end = parseAddress(typed.substr(dash + 1));
    for (const Result<std::uint32_t>* address : {&start, &end}) {
        if (!*address)
            return address->problem();
    }
    if (*start > *end)
        return BadValue(quotedText(typed) + " starts after its end");
    const ExtraMemory memory{kind->type, kind->kindByte, *start, *end};
    if (kind->access != MemoryAccess::Other && memory.accessByAddresses() != kind->access)
        return BadValue(quotedText(typed) + ": " + std::string(kind->name) + " needs " +
                        std::string(parityRules.name(kind->access)));
    return EncodeExtraMemory(*kind, *start, *end);
}

Result<std::uint64_t> parseSizeValue(std::string_view typed, std::uint64_t fileSize) {
    if (typed == "pow2")
        return std::max<std::uint64_t>(128 * 1024, std::bit_ceil(fileSize));
    return parseNumber(typed, SizeNumber);
}

Result<ByteText> parseChecksumValue(std::string_view typed) {
    const Result<std::uint64_t> checksum = parseNumber(typed, ChecksumNumber);
    if (!checksum)
        return checksum.problem();
    const ChecksumBytes bytes = SplitChecksum(static_cast<std::uint32_t>(*checksum));
    return ByteText{static_cast<char>(bytes.high), static_cast<char>(bytes.low)};
}

} // namespace quillon::cli
