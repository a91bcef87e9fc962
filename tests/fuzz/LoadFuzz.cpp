// SPDX-License-Identifier: MIT
// Any bytes as a ROM image, read as recognised and in every layout named: what a load reads
// agrees with the bytes where the layout's row places them, with a second load, and with the
// plain image converted from it. Nothing here names a layout but plain, so every row of the
// table is held to the same.
#include "FuzzSupport.h"
#include "HeaderFile.h"
#include "RomConversion.h"

#include <algorithm>
#include <filesystem>

using namespace quillon;
using quillon::fuzz::Bytes;

namespace {

// Everything a load says of the ROM itself, not of the file holding it.
bool sameRom(const LoadedHeader& a, const LoadedHeader& b) {
    return a.texts == b.texts && a.storedHigh == b.storedHigh && a.storedLow == b.storedLow &&
           a.calculated == b.calculated && a.sumAtEnd.result() == b.sumAtEnd.result() &&
           a.romSize == b.romSize && a.bytes == b.bytes;
}

void checkFields(const LoadedHeader& header) {
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(
            reinterpret_cast<const char*>(header.bytes.data()) + field.offset, field.length);
        FUZZ_CHECK(header.texts[field.index] == bytes.substr(0, bytes.find('\0')));
    }
    FUZZ_CHECK(header.storedHigh == header.bytes[ChecksumWord::offset]);
    FUZZ_CHECK(header.storedLow == header.bytes[ChecksumWord::offset + 1]);
    FUZZ_CHECK(header.calculated == header.sumAtEnd.result());
}

// The file's size less the layout's prefix and a last piece of a block.
std::uint64_t romSizeOf(const ImageLayout& layout, std::uint64_t fileSize) {
    const std::uint64_t rom = fileSize - std::min(fileSize, layout.prefixSize);
    return rom - rom % layout.blockSize;
}

// The ROM as the layout's row places its bytes in the file.
Bytes romOf(const ImageLayout& layout, const Bytes& file) {
    Bytes rom(static_cast<std::size_t>(romSizeOf(layout, file.size())));
    for (std::size_t i = 0; i < rom.size(); ++i)
        rom[i] = file[static_cast<std::size_t>(layout.fileOffset(i))];
    return rom;
}

// A load in a layout reads each header byte where the row places it, and sums the ROM so read.
void checkAsRowSays(const LoadedHeader& header, const Bytes& file) {
    const ImageLayout& layout = *header.layout;
    FUZZ_CHECK(header.fileSize == file.size());
    FUZZ_CHECK(header.romSize == romSizeOf(layout, file.size()));
    for (std::size_t i = 0; i < header.bytes.size(); ++i) {
        const std::uint64_t at = layout.fileOffset(i);
        FUZZ_CHECK(header.bytes[i] == (at < file.size() ? file[static_cast<std::size_t>(at)] : 0));
    }
    checkFields(header);
    // A layout with no ROM checksum (a disc) need not hold its ROM where fileOffset says.
    if (!layout.sum) {
        FUZZ_CHECK(header.calculated == 0);
        return;
    }
    const Bytes rom = romOf(layout, file);
    FUZZ_CHECK(header.calculated == ComputeRomChecksum(rom.data(), rom.size()));
}

bool startsWith(const Bytes& file, const NonRomFormat& format) {
    return file.size() >= format.offset + format.magic.size() &&
           std::equal(format.magic.begin(), format.magic.end(), file.begin() + format.offset,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// A file known to be something else is read no further than its first bytes.
void checkNotRom(const LoadedHeader& header, const Bytes& file) {
    FUZZ_CHECK(startsWith(file, *header.notRom));
    FUZZ_CHECK(header.fileSize == file.size() && header.romSize == 0 && !header.doubtful);
    FUZZ_CHECK(std::all_of(header.bytes.begin(), header.bytes.end(),
                           [](std::uint8_t b) { return b == 0; }));
    FUZZ_CHECK(header.calculated == 0);
}

// The plain image converted from the file holds the ROM put in order by the row; when the row
// reads the header in that order too, the plain image reads as the same ROM.
void checkConversion(const LoadedHeader& header, const std::string& path, const Bytes& file) {
    const ImageLayout& layout = *header.layout;
    const std::string plainPath = fuzz::scratchPath("plain.bin");
    const Result<Converted> converted = ConvertRom(path, plainPath, PlainLayout, true);
    FUZZ_CHECK(converted.outcome() != Outcome::Failed);
    FUZZ_CHECK(!header.doubtful || converted.outcome() == Outcome::Refused);
    if (converted.outcome() != Outcome::Done)
        return;
    FUZZ_CHECK(converted->from == &layout && layout.toRomOrder);
    const Bytes plain = test::readBytes(plainPath);
    std::filesystem::remove(plainPath);
    FUZZ_CHECK(plain.size() == header.romSize && plain.size() == converted->size);
    Bytes inOrder(plain.size());
    layout.toRomOrder(file.data() + layout.prefixSize, inOrder.data(), inOrder.size());
    FUZZ_CHECK(plain == inOrder);
    if (plain != romOf(layout, file))
        return;
    const std::string& again = fuzz::scratchFile(plain);
    const Result<LoadedHeader> reread = LoadHeader(again, &PlainLayout);
    FUZZ_CHECK(reread.done() && sameRom(header, *reread));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    const std::string& path = fuzz::scratchFile(bytes);
    const Result<LoadedHeader> first = LoadHeader(path);
    FUZZ_CHECK(first.done());
    const LoadedHeader& header = *first;
    const ImageLayout& layout = *header.layout;
    const auto rows = ImageLayouts();
    FUZZ_CHECK(std::find(rows.begin(), rows.end(), &layout) != rows.end());

    const Result<LoadedHeader> second = LoadHeader(path);
    FUZZ_CHECK(second.done() && sameRom(header, *second) && second->layout == &layout &&
               second->notRom == header.notRom && second->doubtful == header.doubtful);

    // Named, every layout is taken as it is, never in doubt, whatever the bytes.
    for (const ImageLayout* row : rows) {
        const Result<LoadedHeader> named = LoadHeader(path, row);
        FUZZ_CHECK(named.done() && named->layout == row && !named->doubtful && !named->notRom);
        checkAsRowSays(*named, bytes);
        if (row == &layout && !header.notRom)
            FUZZ_CHECK(sameRom(header, *named));
    }

    if (header.notRom) {
        checkNotRom(header, bytes);
        return 0;
    }
    checkAsRowSays(header, bytes);
    // Only what the row cannot be sure of is doubtful, and only an image the console takes
    // for a cartridge is sure without a row's own reasons; a disc, told by its system ID
    // first, has "SEGA" at 0x100 of its user data too.
    const std::span<const std::uint8_t> probe(data, std::min<std::size_t>(size, ProbeSize));
    if (header.doubtful)
        FUZZ_CHECK(layout.recognise(probe, size) == Verdict::Doubtful);
    if (PlainLayout.recognise(probe, size) == Verdict::Sure)
        FUZZ_CHECK(&layout == &PlainLayout || layout.discUserData);
    if (&layout != &PlainLayout)
        checkConversion(header, path, bytes);
    return 0;
}
