// SPDX-License-Identifier: MIT
// Cyclic redundancy checks of 32 bits processed low bit first: the disc sector's EDC and the
// ordinary (zlib) CRC-32 that readers of a disc's security program compare against.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quillon {

// One table per polynomial (given reversed, as a low-bit-first shift register uses it), made
// when the program is compiled.
template <std::uint32_t ReversedPolynomial> struct ReflectedCrc32 {
    static constexpr std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            std::uint32_t crc = byte;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ ((crc & 1) ? ReversedPolynomial : 0);
            entries[byte] = crc;
        }
        return entries;
    }();

    static constexpr std::uint32_t update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes)
            crc = (crc >> 8) ^ table[(crc ^ byte) & 0xFF];
        return crc;
    }
};

// The CRC-32 of zip, PNG and zlib (polynomial 0x04C11DB7, start and final XOR all ones).
inline std::uint32_t ComputeCrc32(std::span<const std::uint8_t> bytes) {
    return ~ReflectedCrc32<0xEDB88320>::update(0xFFFFFFFF, bytes);
}

} // namespace quillon
