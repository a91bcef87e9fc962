// SPDX-License-Identifier: MIT
// ROM images made up for the tests, with their header fields set through the field table.
#pragma once

#include "HeaderLayout.h"
#include "InterleavedImage.h"
#include "TempDir.h"

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

// The copier's interleaved image of a plain ROM whose size is a whole number of blocks: a
// copier header of its own, then each block's odd bytes followed by its even bytes.
inline Bytes interleave(const Bytes& rom) {
    Bytes image(CopierHeaderSize, 0xC0);
    constexpr std::size_t half = InterleavedBlockSize / 2;
    for (std::size_t block = 0; block < rom.size(); block += InterleavedBlockSize) {
        for (std::size_t i = 0; i < half; ++i)
            image.push_back(rom[block + 2 * i + 1]);
        for (std::size_t i = 0; i < half; ++i)
            image.push_back(rom[block + 2 * i]);
    }
    return image;
}

// A ROM whose stored checksum is 8F1C while its content sums to 8F1D.
inline Bytes mismatchedRom() {
    Bytes rom(0x400, 0);
    setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
    setFieldBytes(rom, HeaderFieldTable[1], "(C)QUIL 2026.DEC");
    setFieldBytes(rom, HeaderFieldTable[2], "DOMESTIC");
    setFieldBytes(rom, HeaderFieldTable[3], "OVERSEAS");
    setFieldBytes(rom, HeaderFieldTable[4], "GM 00000001-00");
    setFieldBytes(rom, HeaderFieldTable[5], "JUE");
    rom[0x18E] = 0x8F;
    rom[0x18F] = 0x1C;
    rom[0x200] = 0x8F;
    rom[0x201] = 0x1D;
    rom[0x1A0] = 0xAA; // outside every field
    return rom;
}

} // namespace quillon::test
