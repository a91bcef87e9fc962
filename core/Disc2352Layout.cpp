// SPDX-License-Identifier: MIT
// A raw Mega-CD disc image of 2352-byte sectors (the ".bin" beside a ".cue"): each Mode 1
// sector whole, its user data 16 bytes in and its EDC and parities after it. A header edit
// makes the first sector's EDC and parities anew, in the one write of that sector.
#include "DiscLayout.h"

#include <algorithm>

namespace quillon {

namespace {

// Genesis Plus GX (core/cd_hw/cdd.c) takes the sync at 0 for a raw image and byte 15 for its
// mode; PicoDrive (pico/media.c) looks for the system ID 16 bytes in.
Verdict recognise(std::span<const std::uint8_t> probe, std::uint64_t) {
    if (probe.size() < RawSectorSize || !HasRawSectorSync(probe) || probe[15] != 1)
        return Verdict::No;
    return HasDiscSystemId(probe.subspan(RawUserDataOffset)) ? Verdict::Sure : Verdict::No;
}

std::uint64_t fileOffset(std::uint64_t romOffset) { return romOffset + RawUserDataOffset; }

// Every header byte lies in the first sector, so the write becomes that whole sector.
void finishWrite(std::span<std::uint8_t> image, std::vector<FileRun>& runs) {
    RawSector sector;
    std::copy_n(image.begin(), sector.size(), sector.begin());
    RegenerateMode1Sector(sector);
    std::copy(sector.begin(), sector.end(), image.begin());
    runs = {{0, RawSectorSize}};
}

} // namespace

const ImageLayout Disc2352Layout = discLayout({
    .key = "disc-2352",
    .description = "Mega-CD disc image, raw 2352-byte sectors; header in the first sector",
    .recognise = recognise,
    .fileOffset = fileOffset,
    .finishWrite = finishWrite,
    .discUserData = RawUserDataOffset,
});

} // namespace quillon
