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

} // namespace quillon
