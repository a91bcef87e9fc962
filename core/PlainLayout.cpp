// SPDX-License-Identifier: MIT
// A plain image: the file is the ROM as the cartridge holds it.
#include "ImageLayout.h"

#include <algorithm>

namespace quillon {

namespace {

// "SEGA" or " SEGA" at 0x100, as the console's trademark check (TMSS) and every emulator read.
Verdict recognise(std::span<const std::uint8_t> probe, std::uint64_t) {
    if (probe.size() < ChecksummedRegionStart)
        return Verdict::No;
    return HasTrademark(probe.first<ChecksummedRegionStart>()) ? Verdict::Sure : Verdict::No;
}

std::uint64_t fileOffset(std::uint64_t romOffset) { return romOffset; }

void sum(RomChecksumAccumulator& checksum, const std::uint8_t* bytes, std::size_t count) {
    checksum.add({bytes, count});
}

void copy(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    std::copy_n(in, count, out);
}

std::vector<std::uint8_t> noPrefix(std::uint64_t) { return {}; }

} // namespace

const ImageLayout PlainLayout{
    .key = "plain",
    .recognise = recognise,
    .fileOffset = fileOffset,
    .sum = sum,
    .fromRomOrder = copy,
    .prefixFor = noPrefix,
    .convertKey = "bin",
};

} // namespace quillon
