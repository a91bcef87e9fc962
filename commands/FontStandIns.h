// SPDX-License-Identifier: MIT
// The window's fonts: the form names a family for each control, and where that family is not
// installed the first installed one of the same kind stands in for it, so that the texts still
// fit the boxes the form draws (three rows of sixteen characters in a name editor, four in a
// checksum box). Both windows pick their fonts here.
#pragma once

#include <string_view>
#include <vector>

namespace quillon {

// 8.25 points at 96 dots per inch. The form's places are in pixels, so the fonts are too: in
// points they would outgrow their boxes on a screen that reports another resolution. A form
// gives sizes in whole points only, so this one is not in it.
inline constexpr int FontPixelSize = 11;

struct FontChoice {
    bool fixedPitch;
    // The family the form names, then its metric-compatible stand-ins, best first.
    std::vector<std::string_view> families;
};

// A family the form names that is not known here is taken as proportional.
FontChoice fontFor(std::string_view formFamily);

} // namespace quillon
