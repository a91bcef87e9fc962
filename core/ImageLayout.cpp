// SPDX-License-Identifier: MIT
#include "ImageLayout.h"

#include "HexText.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

// The order recognition tries them in: a disc's system ID at the file's start comes before the
// "SEGA" its header has at 0x100 too.
constexpr std::array<const ImageLayout*, 5> layouts{&Disc2048Layout, &Disc2352Layout, &PlainLayout,
                                                    &InterleavedLayout, &ByteSwappedLayout};

// Each by the bytes its own format's description puts first.
constexpr std::array<NonRomFormat, 13> nonRomFormats{{
    {{"PK\x03\x04", 4}, 0, "a ZIP archive"},
    {{"PK\x05\x06", 4}, 0, "a ZIP archive"},
    {{"\x1F\x8B", 2}, 0, "a gzip file"},
    {{"7z\xBC\xAF\x27\x1C", 6}, 0, "a 7z archive"},
    {{"\xFD"
      "7zXZ\x00",
      6},
     0,
     "an xz file"},
    {{"BZh", 3}, 0, "a bzip2 file"},
    {{"Rar!\x1A\x07", 6}, 0, "a RAR archive"},
    {{"MComprHD", 8}, 0, "a CHD disc image (compressed; chdman extractcd makes a .cue/.bin)"},
    {{"\x89PNG\r\n\x1A\n", 8}, 0, "a PNG image"},
    {{"\xFF\xD8\xFF", 3}, 0, "a JPEG image"},
    {{"%PDF-", 5}, 0, "a PDF document"},
    {{"\x7F"
      "ELF",
      4},
     0,
     "an ELF program"},
    {{"MZ", 2}, 0, "a Windows program"},
}};

bool startsWith(std::span<const std::uint8_t> probe, const NonRomFormat& format) {
    return probe.size() >= format.offset + format.magic.size() &&
           std::equal(format.magic.begin(), format.magic.end(), probe.begin() + format.offset,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

} // namespace

void SumAsItLies(RomChecksumAccumulator& checksum, const std::uint8_t* bytes, std::size_t count) {
    checksum.add({bytes, count});
}

std::span<const ImageLayout* const> ImageLayouts() { return layouts; }

const ImageLayout* FindImageLayout(std::string_view key) {
    const auto found =
        std::find_if(layouts.begin(), layouts.end(),
                     [key](const ImageLayout* layout) { return layout->key == key; });
    return found == layouts.end() ? nullptr : *found;
}

std::span<const NonRomFormat> NonRomFormats() { return nonRomFormats; }

Recognition RecogniseImage(std::span<const std::uint8_t> probe, std::uint64_t fileSize,
                           const ImageLayout* given) {
    if (given)
        return {given, Verdict::Sure, nullptr};
    // A disc's system ID, or "SEGA" where the console looks for it, tells whatever else the
    // file is; an archive or a picture holds no header, and none starts as a copier header does.
    bool otherFormatsRuledOut = false;
    for (const ImageLayout* layout : layouts) {
        if (layout->afterOtherFormats && !otherFormatsRuledOut) {
            for (const NonRomFormat& format : nonRomFormats) {
                if (startsWith(probe, format))
                    return {&PlainLayout, Verdict::Sure, &format};
            }
            otherFormatsRuledOut = true;
        }
        if (const Verdict verdict = layout->recognise(probe, fileSize); verdict != Verdict::No)
            return {layout, verdict, nullptr};
    }
    // A new homebrew ROM may not say "SEGA" yet.
    return {};
}

std::string NotRomText(const NonRomFormat& format) {
    return std::string(format.name) + ", not a ROM image";
}

std::string EditRefusal(const Recognition& recognition) {
    if (recognition.notRom)
        return NotRomText(*recognition.notRom);
    return std::string(recognition.layout->writeRefusal);
}

std::string GrowthRefusal(const Recognition& recognition) {
    const ImageLayout& layout = *recognition.layout;
    if (recognition.verdict == Verdict::Doubtful)
        return std::string(layout.doubt);
    return std::string(!layout.romRefusal.empty() ? layout.romRefusal : layout.growthRefusal);
}

std::string WriteStartRefusal(const ImageLayout& layout, std::uint32_t offset) {
    if (offset >= layout.writableFrom)
        return {};
    return "0x" + ToHex(offset) + " lies before the header (0x" + ToHex(layout.writableFrom) +
           "), where a cartridge has its 68000 vectors; only a Mega-CD disc's system area is "
           "written there";
}

std::vector<FileRun> HeaderRuns(const ImageLayout& layout, std::uint64_t begin, std::uint64_t end) {
    std::vector<std::uint64_t> offsets;
    for (std::uint64_t at = begin; at < end; ++at)
        offsets.push_back(layout.fileOffset(at));
    std::sort(offsets.begin(), offsets.end());
    std::vector<FileRun> runs;
    for (const std::uint64_t offset : offsets) {
        if (!runs.empty() && runs.back().offset + runs.back().length == offset)
            ++runs.back().length;
        else
            runs.push_back({offset, 1});
    }
    return runs;
}

} // namespace quillon
