// SPDX-License-Identifier: MIT
// Writing a ROM in another layout: a plain image from an interleaved or byte-swapped one, or an
// interleaved image from a plain one. The source is only read; the new file appears whole or not
// at all.
#pragma once

#include "ImageLayout.h"
#include "Outcome.h"

#include <cstdint>
#include <string>

namespace quillon {

struct Converted {
    const ImageLayout* from = &PlainLayout;
    std::uint64_t size = 0; // of the new file
};

// Writes source's ROM to destination in the layout to, one with a convertKey. An existing
// destination is refused unless replace; the source itself always is. A layout given for the
// source is taken as LoadHeader takes it. Refused: nothing to convert, a size that does not fit,
// a destination that exists; failed: a file that could not be read or written.
Result<Converted> ConvertRom(const std::string& source, const std::string& destination,
                             const ImageLayout& to, bool replace,
                             const ImageLayout* given = nullptr);

} // namespace quillon
