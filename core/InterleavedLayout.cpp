// SPDX-License-Identifier: MIT
// An interleaved copier image (".SMD"): a 512-byte copier header, then the ROM in blocks of
// 16 KiB, each byte at its place in its block (InterleavedImage.h).
#include "ImageLayout.h"
#include "InterleavedImage.h"

namespace quillon {

namespace {

constexpr std::uint64_t unit = CopierHeaderSize;

bool hasMarks(std::span<const std::uint8_t> probe) {
    return probe.size() > 9 && probe[8] == 0xAA && probe[9] == 0xBB;
}

bool hasTrademarkInOrder(std::span<const std::uint8_t> probe) {
    HeaderBytes rom;
    for (std::size_t i = 0; i < rom.size(); ++i)
        rom[i] = probe[InterleavedOffset(i)];
    return HasTrademark(rom);
}

// Genesis Plus GX (core/loadrom.c) takes a file with no "SEGA" at 0x100 whose size is an odd
// number of 512-byte units for a copier header and interleaved blocks, and reads no more; a
// plain ROM without "SEGA" can have such a size too, so only the copier's marks (AA BB at 8)
// or "SEGA" in the first block put back in order make it sure. A file without one whole block
// holds no header that way.
Verdict recognise(std::span<const std::uint8_t> probe, std::uint64_t fileSize) {
    if (fileSize % unit != 0 || (fileSize / unit) % 2 == 0 || fileSize < ProbeSize ||
        probe.size() < ProbeSize)
        return Verdict::No;
    return hasMarks(probe) || hasTrademarkInOrder(probe) ? Verdict::Sure : Verdict::Doubtful;
}

std::uint64_t fileOffset(std::uint64_t romOffset) { return InterleavedOffset(romOffset); }

// Each block's first half holds the low (odd) bytes of its words, the second half the high ones.
void sum(RomChecksumAccumulator& checksum, const std::uint8_t* bytes, std::size_t count) {
    constexpr std::size_t half = InterleavedBlockSize / 2;
    for (std::size_t at = 0; at + InterleavedBlockSize <= count; at += InterleavedBlockSize)
        checksum.addSplitWords({bytes + at + half, half}, {bytes + at, half});
}

// Without the copier's marks, "SEGA" is all that tells the image from a plain ROM: a write
// keeps it where it told. (An image in doubt, written because its layout was named, has none
// to lose.)
std::string_view refuseHeader(std::span<const std::uint8_t> probe, const HeaderBytes& header) {
    return hasMarks(probe) || HasTrademark(header) || !hasTrademarkInOrder(probe)
               ? std::string_view()
               : InterleavedTrademarkRefusal;
}

void deinterleave(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at < count; at += InterleavedBlockSize)
        DeinterleaveBlock(in + at, out + at);
}

void interleave(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at < count; at += InterleavedBlockSize)
        InterleaveBlock(in + at, out + at);
}

std::vector<std::uint8_t> copierHeader(std::uint64_t romSize) {
    const auto header = MakeCopierHeader(romSize / InterleavedBlockSize);
    return {header.begin(), header.end()};
}

} // namespace

const ImageLayout InterleavedLayout{
    .key = "interleaved",
    .description = "interleaved copier (SMD) image, shown in ROM order",
    .afterOtherFormats = true,
    .recognise = recognise,
    .doubt = "may be an interleaved copier image or a plain ROM (its size is an odd number of "
             "512-byte units, and nothing else tells); say which with --layout interleaved or "
             "--layout plain",
    .prefixSize = CopierHeaderSize,
    .blockSize = InterleavedBlockSize,
    .fileOffset = fileOffset,
    .sum = sum,
    .growthRefusal = InterleavedGrowthRefusal,
    .refuseHeader = refuseHeader,
    .toRomOrder = deinterleave,
    .fromRomOrder = interleave,
    .prefixFor = copierHeader,
    .convertKey = "smd",
};

} // namespace quillon
