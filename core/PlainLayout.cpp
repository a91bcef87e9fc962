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

void copy(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    std::copy_n(in, count, out);
}

std::vector<std::uint8_t> noPrefix(std::uint64_t) { return {}; }

} // namespace

const ImageLayout PlainLayout{
    .key = "plain",
    .recognise = recognise,
    .sum = SumAsItLies,
    .fromRomOrder = copy,
    .prefixFor = noPrefix,
    .convertKey = "bin",
};

} // namespace quillon
