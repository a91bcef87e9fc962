// SPDX-License-Identifier: MIT
#include "RomLayout.h"

#include "HeaderInfo.h"
#include "InterleavedImage.h"

#include <algorithm>
#include <utility>

namespace quillon {

std::string_view romLayoutKey(RomLayout layout) {
    switch (layout) {
    case RomLayout::Interleaved:
        return "interleaved";
    case RomLayout::ByteSwapped:
        return "byte-swapped";
    case RomLayout::Plain:
        break;
    }
    return "plain";
}

RomLayout DetectRomLayout(std::span<const std::uint8_t> start, std::uint64_t fileLength) {
    if (IsInterleavedImage(start, fileLength))
        return RomLayout::Interleaved;
    if (start.size() < ChecksummedRegionStart ||
        HasTrademark(start.first<ChecksummedRegionStart>()))
        return RomLayout::Plain;
    HeaderBytes swapped;
    std::copy_n(start.begin(), swapped.size(), swapped.begin());
    for (std::size_t i = 0; i < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    return HasTrademark(swapped) ? RomLayout::ByteSwapped : RomLayout::Plain;
}

} // namespace quillon
