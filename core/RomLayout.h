// SPDX-License-Identifier: MIT
// How a file holds its ROM: as the cartridge does, interleaved by a copier, or with the two bytes
// of every word swapped (as some dumping tools leave it).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

enum class RomLayout { Plain, Interleaved, ByteSwapped };

std::string_view romLayoutKey(RomLayout layout); // "plain", "interleaved", "byte-swapped"

// The layout of a file of fileLength bytes that starts with start (its first
// InterleavedProbeSize bytes, or all of it when shorter). A file is plain unless its header
// reads "SEGA" only when put back in order from the other layout.
RomLayout DetectRomLayout(std::span<const std::uint8_t> start, std::uint64_t fileLength);

// Why a byte-swapped image is not read or written as it stands.
inline constexpr std::string_view ByteSwappedRefusal =
    "a byte-swapped image (each word's two bytes in the wrong order: its header reads \"ESAG\" "
    "for \"SEGA\"); convert it to a plain binary image first (quillon-cli convert IN OUT --to "
    "bin)";

} // namespace quillon
