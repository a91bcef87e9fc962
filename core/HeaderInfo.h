// SPDX-License-Identifier: MIT
// The rest of a ROM's header, which the window never edits: what the ROM needs of the console,
// where its ROM and RAM lie, its extra memory, modem and memo, and the console name's trademark.
#pragma once

#include "HeaderLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

// The ROM's first bytes up to the checksummed region, the whole header among them.
using HeaderBytes = std::array<std::uint8_t, ChecksummedRegionStart>;

// The rest of the header, past the window's six texts and the checksum.
inline constexpr auto HeaderInfoTable = [] {
    constexpr auto info = [](const HeaderField& field) {
        return !field.windowEdits && field.kind != FieldKind::Checksum &&
               field.media != Media::Disc;
    };
    return fieldsWhere<fieldCount(info)>(info);
}();

// Consoles with the trademark security check start only a ROM whose console name holds this
// text at one of these offsets.
inline constexpr std::string_view TrademarkText = "SEGA";
inline constexpr std::array<std::uint32_t, 2> TrademarkOffsets{0x100, 0x101};

bool HasTrademark(std::span<const std::uint8_t, ChecksummedRegionStart> header);

// Whether the console name asks for the extended (SSF) mapper, which decides the ROM's end.
bool IsSsf(std::span<const std::uint8_t, ChecksummedRegionStart> header);

// Eight upper-case hexadecimal digits.
std::string FormatAddress(std::uint32_t address);

std::uint32_t ReadAddress(const std::uint8_t* bytes);

// Which bytes of each word an extra memory answers on.
enum class MemoryAccess { Word, Even, Odd, Other };

// "word", "even bytes", "odd bytes", "other".
std::string_view memoryAccessName(MemoryAccess access);

// The extra-memory block: "RA", a type byte %1x1yz000 (x set: kept by a battery; yz: 00 both
// bytes of a word, 10 even bytes, 11 odd bytes, 01 other, such as a serial EEPROM), a kind byte
// %abc00000 (abc: 001 SRAM, 010 EEPROM), then the first and last address. So Genesis Plus GX
// (core/cart_hw/sram.c) and Sega's header documentation describe it.
struct ExtraMemory {
    std::uint8_t type;
    std::uint8_t kindByte;
    std::uint32_t start;
    std::uint32_t end;

    bool backedUp() const { return (type & 0x40) != 0; }
    // As BlastEm reads it: from the type byte.
    MemoryAccess access() const;
    // As ares reads it: from the addresses, an even start and odd end being a word.
    MemoryAccess accessByAddresses() const;
    // "SRAM", "EEPROM" or "unknown", from the kind byte.
    std::string_view kind() const;
    // Whether both bytes keep the bits that are always set and clear.
    bool wellFormed() const;
    // How many bytes the memory holds when it answers on these bytes of its address range;
    // nothing when the range is empty or the access says nothing of it.
    std::optional<std::uint64_t> size(MemoryAccess access) const;
};

// The kinds of save memory a header declares, by their names on the command line.
struct SaveMemoryKind {
    std::string_view name;
    std::uint8_t type;
    std::uint8_t kindByte;
    MemoryAccess access;
};

inline constexpr std::array<SaveMemoryKind, 4> SaveMemoryKindTable{{
    {"sram-odd", 0xF8, 0x20, MemoryAccess::Odd},
    {"sram-even", 0xF0, 0x20, MemoryAccess::Even},
    {"sram-word", 0xE0, 0x20, MemoryAccess::Word},
    {"eeprom", 0xE8, 0x40, MemoryAccess::Other},
}};

// The twelve bytes of an extra-memory block: "RA", the type bytes, then the two addresses.
std::string EncodeExtraMemory(const SaveMemoryKind& kind, std::uint32_t start, std::uint32_t end);

// Four bytes, high byte first.
std::string EncodeAddress(std::uint32_t address);

// The extra-memory block's twelve bytes, when they start with "RA".
std::optional<ExtraMemory> DecodeExtraMemory(const std::uint8_t* bytes);

} // namespace quillon
