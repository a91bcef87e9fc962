// SPDX-License-Identifier: MIT
// What the two Mega-CD disc layouts share: where the first sector's user data starts in the
// file, and what the ROM-wide commands are told of a disc.
#pragma once

#include "CdSector.h"
#include "DiscSystemArea.h"
#include "ImageLayout.h"

namespace quillon {

// A disc's header lies in the user data of its first sector, after the system area; the
// checksum word is unused there (rom-properties shows it "MD only; not valid for Mega CD"),
// and the disc's size is no ROM's size.
inline constexpr std::string_view DiscRomRefusal =
    "a Mega-CD disc image has no ROM checksum or ROM end; only set writes to it";
inline constexpr std::string_view DiscGrowthRefusal =
    "a Mega-CD disc image never grows; only set writes to it";

// A disc layout's row, with what every disc layout has filled in: it never grows, has no ROM
// to sum or end, and set writes its system area's texts before the header too.
constexpr ImageLayout discLayout(ImageLayout row) {
    row.growthRefusal = DiscGrowthRefusal;
    row.writableFrom = 0;
    row.romRefusal = DiscRomRefusal;
    return row;
}

} // namespace quillon
