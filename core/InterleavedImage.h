// SPDX-License-Identifier: MIT
// Interleaved copier images (".SMD"): a 512-byte copier header, then the ROM in blocks of 16 KiB
// whose first half holds the odd bytes of the block and whose second half the even bytes. Such
// a file is never edited as a plain image: its header bytes are not where a plain ROM has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

inline constexpr std::size_t CopierHeaderSize = 512;
inline constexpr std::size_t InterleavedBlockSize = 16 * 1024;

// The bytes of a file that detection looks at: the copier header and the first block.
inline constexpr std::size_t InterleavedProbeSize = CopierHeaderSize + InterleavedBlockSize;

// Whether a file of fileLength bytes that starts with start (its first InterleavedProbeSize
// bytes, or all of it when shorter) is an interleaved image: its length is the copier header
// plus whole blocks, it has no "SEGA" at 0x100 or 0x101 as it lies, and its first block put
// back in order has. A plain ROM that merely has such a length stays a plain ROM.
bool IsInterleavedImage(std::span<const std::uint8_t> start, std::uint64_t fileLength);

// Why such an image is refused wherever a header would be edited or shown for editing.
inline constexpr std::string_view InterleavedImageRefusal =
    "an interleaved copier (SMD) image; convert it to a plain binary image first";

// Puts one block back in ROM order; block and rom both hold InterleavedBlockSize bytes.
void DeinterleaveBlock(const std::uint8_t* block, std::uint8_t* rom);

} // namespace quillon
