// SPDX-License-Identifier: MIT
// A Mega-CD disc image of 2048-byte sectors (".iso"): the user data of each sector, the first
// of them starting with the disc's system area and holding the header at 0x100.
#include "DiscLayout.h"

namespace quillon {

namespace {

// Genesis Plus GX (core/cd_hw/cdd.c), PicoDrive (pico/media.c) and BlastEm take a file that
// starts with the system ID for a 2048-byte image; ares (mia/medium/mega-cd.cpp) also takes
// "SEGABOOTDISC".
Verdict recognise(std::span<const std::uint8_t> probe, std::uint64_t) {
    return HasDiscSystemId(probe) ? Verdict::Sure : Verdict::No;
}

} // namespace

const ImageLayout Disc2048Layout = discLayout({
    .key = "disc-2048",
    .description = "Mega-CD disc image, 2048-byte sectors; header in the first sector",
    .recognise = recognise,
    .discUserData = 0,
});

} // namespace quillon
