// SPDX-License-Identifier: MIT
// A byte-swapped image, as some dumping tools leave it: the two bytes of every word swapped. It
// is described as it lies and never written, since its texts would read with every pair of
// letters swapped; it is only converted.
#include "ImageLayout.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

// Its header reads "SEGA" (or " SEGA") once each word's bytes are put back in order.
Verdict recognise(std::span<const std::uint8_t> probe, std::uint64_t) {
    if (probe.size() < ChecksummedRegionStart)
        return Verdict::No;
    HeaderBytes swapped;
    std::copy_n(probe.begin(), swapped.size(), swapped.begin());
    for (std::size_t i = 0; i < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    return HasTrademark(swapped) ? Verdict::Sure : Verdict::No;
}

// An unpaired last byte stays where it is.
void swapBytes(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at + 1 < count; at += 2) {
        out[at] = in[at + 1];
        out[at + 1] = in[at];
    }
    if (count % 2 != 0)
        out[count - 1] = in[count - 1];
}

} // namespace

const ImageLayout ByteSwappedLayout{
    .key = "byte-swapped",
    .description = "byte-swapped image",
    .afterOtherFormats = true,
    .recognise = recognise,
    .sum = SumAsItLies,
    .writeRefusal =
        "a byte-swapped image (each word's two bytes in the wrong order: its header reads "
        "\"ESAG\" for \"SEGA\"); convert it to a plain binary image first (quillon-cli convert IN "
        "OUT --to bin)",
    .toRomOrder = swapBytes,
};

} // namespace quillon
