// SPDX-License-Identifier: MIT
#include "HeaderInfo.h"

#include "EnumNames.h"
#include "HexText.h"
#include "SystemNames.h"

#include <algorithm>

namespace quillon {

bool HasTrademark(std::span<const std::uint8_t, ChecksummedRegionStart> header) {
    return std::any_of(TrademarkOffsets.begin(), TrademarkOffsets.end(), [&](std::uint32_t at) {
        return std::equal(TrademarkText.begin(), TrademarkText.end(), header.begin() + at);
    });
}

bool IsSsf(std::span<const std::uint8_t, ChecksummedRegionStart> header) {
    const HeaderField& name = headerField(FieldId::ConsoleName);
    return ReadSystem(header.subspan(name.offset, name.length)).system == System::Ssf;
}

std::string FormatAddress(std::uint32_t address) { return PadHex(ToHex(address), 8); }

std::uint32_t ReadAddress(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

constexpr EnumNames<MemoryAccess, 4> memoryAccessNames{{{{MemoryAccess::Word, "word"},
                                                         {MemoryAccess::Even, "even bytes"},
                                                         {MemoryAccess::Odd, "odd bytes"},
                                                         {MemoryAccess::Other, "other"}}}};

std::string_view memoryAccessName(MemoryAccess access) { return memoryAccessNames.name(access); }

MemoryAccess ExtraMemory::access() const {
    switch ((type >> 3) & 0x3) {
    case 0x0:
        return MemoryAccess::Word;
    case 0x2:
        return MemoryAccess::Even;
    case 0x3:
        return MemoryAccess::Odd;
    default:
        return MemoryAccess::Other;
    }
}

MemoryAccess ExtraMemory::accessByAddresses() const {
    if (start % 2 != 0)
        return MemoryAccess::Odd;
    return end % 2 != 0 ? MemoryAccess::Word : MemoryAccess::Even;
}

std::string_view ExtraMemory::kind() const {
    switch (kindByte) {
    case 0x20:
        return "SRAM";
    case 0x40:
        return "EEPROM";
    default:
        return "unknown";
    }
}

bool ExtraMemory::wellFormed() const {
    return (type & 0xA7) == 0xA0 && (kindByte == 0x20 || kindByte == 0x40);
}

std::optional<std::uint64_t> ExtraMemory::size(MemoryAccess answers) const {
    if (start > end || answers == MemoryAccess::Other)
        return std::nullopt;
    const std::uint64_t span = std::uint64_t{end} - start + 1;
    if (answers == MemoryAccess::Word)
        return span;
    // The addresses of one parity in the range.
    const std::uint32_t parity = answers == MemoryAccess::Odd ? 1 : 0;
    const std::uint64_t first = start % 2 == parity ? start : std::uint64_t{start} + 1;
    return first > end ? 0 : (end - first) / 2 + 1;
}

std::string EncodeAddress(std::uint32_t address) {
    return {static_cast<char>(address >> 24), static_cast<char>(address >> 16),
            static_cast<char>(address >> 8), static_cast<char>(address)};
}

std::string EncodeExtraMemory(const SaveMemoryKind& kind, std::uint32_t start, std::uint32_t end) {
    return std::string("RA") + static_cast<char>(kind.type) + static_cast<char>(kind.kindByte) +
           EncodeAddress(start) + EncodeAddress(end);
}

std::optional<ExtraMemory> DecodeExtraMemory(const std::uint8_t* bytes) {
    if (bytes[0] != 'R' || bytes[1] != 'A')
        return std::nullopt;
    return ExtraMemory{bytes[2], bytes[3], ReadAddress(bytes + 4), ReadAddress(bytes + 8)};
}

} // namespace quillon
