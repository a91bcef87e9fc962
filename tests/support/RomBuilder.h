// SPDX-License-Identifier: MIT
// ROM images made up for the tests, with their header fields set through the field table.
#pragma once

#include "HeaderLayout.h"
#include "InterleavedImage.h"
#include "RomChecksum.h"
#include "TempDir.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace quillon::test {

// Puts text into a field's bytes of rom, which must reach the field's end.
inline void setFieldBytes(Bytes& rom, const HeaderField& field, std::string_view text) {
    for (std::size_t k = 0; k < field.length; ++k)
        rom[field.offset + k] = k < text.size() ? static_cast<std::uint8_t>(text[k]) : 0;
}

inline std::string_view fieldBytes(const Bytes& rom, const HeaderField& field) {
    return {reinterpret_cast<const char*>(rom.data()) + field.offset, field.length};
}

// Whether offset lies in a field or in the checksum word, the only bytes a save may change.
inline bool isWritable(std::size_t offset) {
    if (offset >= ChecksumWord::offset && offset < ChecksumWord::offset + ChecksumWord::length)
        return true;
    for (const HeaderField& field : HeaderFieldTable) {
        if (offset >= field.offset && offset < field.offset + field.length)
            return true;
    }
    return false;
}

// Interleaved copier (SMD) images as the tests make and read them, apart from the core's code:
// a 512-byte copier header, then the ROM in 16 KiB blocks, each block's odd bytes (the low
// bytes of the 68000's words) in its first 8 KiB and its even bytes in its last 8 KiB.
inline constexpr std::size_t SmdHeaderSize = 512;
inline constexpr std::size_t SmdBlockSize = 16 * 1024;

// The copier's interleaved image of a plain ROM whose size is a whole number of blocks, with a
// copier header of its own, all C0 without the copier's marks, so that only "SEGA" makes it sure.
inline Bytes interleave(const Bytes& rom) {
    Bytes image(SmdHeaderSize, 0xC0);
    constexpr std::size_t half = SmdBlockSize / 2;
    for (std::size_t block = 0; block < rom.size(); block += SmdBlockSize) {
        for (std::size_t i = 0; i < half; ++i)
            image.push_back(rom[block + 2 * i + 1]);
        for (std::size_t i = 0; i < half; ++i)
            image.push_back(rom[block + 2 * i]);
    }
    return image;
}

// The plain ROM of an interleaved image; the copier header is left out.
inline Bytes deinterleave(const Bytes& image) {
    Bytes rom;
    constexpr std::size_t half = SmdBlockSize / 2;
    for (std::size_t block = SmdHeaderSize; block + SmdBlockSize <= image.size();
         block += SmdBlockSize) {
        for (std::size_t i = 0; i < half; ++i) {
            rom.push_back(image[block + half + i]);
            rom.push_back(image[block + i]);
        }
    }
    return rom;
}

// Puts bytes into rom at offset, which must reach their end.
inline void setBytes(Bytes& rom, std::size_t offset, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(offset));
}

inline void setAddress(Bytes& rom, std::size_t offset, std::uint32_t address) {
    for (int shift = 24, k = 0; shift >= 0; shift -= 8, ++k)
        rom[offset + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(address >> shift);
}

// Stores the checksum calculated over rom in its header.
inline void storeChecksum(Bytes& rom) {
    const RomChecksum sum = ComputeRomChecksum(rom.data(), rom.size());
    rom[ChecksumWord::offset] = static_cast<std::uint8_t>(sum >> 8);
    rom[ChecksumWord::offset + 1] = static_cast<std::uint8_t>(sum & 0xFF);
}

// Gives rom, of at least a header's length, a header that every console and emulator reads
// alike and that nothing finds fault with: the texts in their usual forms, a 3-button pad,
// the ROM's own range, the work RAM, no extra memory, Japan, the Americas and Europe, and the
// right checksum.
inline void writeCleanHeader(Bytes& rom) {
    const std::string blank(0x40, ' ');
    const std::string_view texts[] = {"SEGA MEGA DRIVE ", "(C)QUIL 2026.DEC", "QUILLON TEST ROM",
                                      "QUILLON TEST ROM", "GM 00000000-00",   "JUE"};
    for (const HeaderField& field : HeaderFieldTable) {
        setBytes(rom, field.offset, blank.substr(0, field.length));
        setBytes(rom, field.offset, texts[field.index]);
    }
    setBytes(rom, 0x190, "J               ");
    setAddress(rom, 0x1A0, 0);
    setAddress(rom, 0x1A4, static_cast<std::uint32_t>(rom.size() - 1));
    setAddress(rom, 0x1A8, 0x00FF0000);
    setAddress(rom, 0x1AC, 0x00FFFFFF);
    setBytes(rom, 0x1B0, blank.substr(0, 0x1F0 - 0x1B0));
    setBytes(rom, 0x1F3, blank.substr(0, 0x200 - 0x1F3));
    storeChecksum(rom);
}

// The same ROM with the two bytes of every word swapped, as some dumping tools leave it.
inline Bytes byteSwap(Bytes rom) {
    for (std::size_t i = 0; i + 1 < rom.size(); i += 2)
        std::swap(rom[i], rom[i + 1]);
    return rom;
}

// A ROM whose stored checksum is 8F1C while its content sums to 8F1D.
inline Bytes mismatchedRom() {
    Bytes rom(0x400, 0);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
    setFieldBytes(rom, headerField(FieldId::Copyright), "(C)QUIL 2026.DEC");
    setFieldBytes(rom, headerField(FieldId::DomesticName), "DOMESTIC");
    setFieldBytes(rom, headerField(FieldId::OverseasName), "OVERSEAS");
    setFieldBytes(rom, headerField(FieldId::SerialNumber), "GM 00000001-00");
    setFieldBytes(rom, headerField(FieldId::CountryCode), "JUE");
    rom[0x18E] = 0x8F;
    rom[0x18F] = 0x1C;
    rom[0x200] = 0x8F;
    rom[0x201] = 0x1D;
    rom[0x1A0] = 0xAA; // outside every field
    return rom;
}

} // namespace quillon::test
