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

} // namespace quillon::test
