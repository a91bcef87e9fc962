// SPDX-License-Identifier: MIT
// How a file holds its ROM, one row a layout: how it is recognised, where each header byte lies
// in the file, how its ROM feeds the checksum, and what may be written or converted. Loading,
// saving, linting and converting go through the row; a new layout is one file that defines its
// row, and one line in the table.
#pragma once

#include "HeaderInfo.h"
#include "RomChecksum.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// What recognition reads of a file, besides its size: the first bytes, enough for an
// interleaved image's copier header and its first block.
inline constexpr std::size_t ProbeSize = 512 + 16 * 1024;

enum class Verdict {
    No,
    Sure,
    Doubtful, // read so, but nothing confirms it: a write needs the layout named
};

// One stretch of the file that a write makes at once.
struct FileRun {
    std::uint64_t offset;
    std::uint64_t length;
};

// Where the ROM's byte at romOffset lies in a file that holds the ROM from its first byte on.
constexpr std::uint64_t OffsetAsItLies(std::uint64_t romOffset) { return romOffset; }

// Adds bytes of a file's ROM to the checksum as its words lie.
void SumAsItLies(RomChecksumAccumulator& checksum, const std::uint8_t* bytes, std::size_t count);

struct ImageLayout {
    // "plain", "interleaved", "byte-swapped", "disc-2048", "disc-2352"; --layout takes it
    std::string_view key{};
    std::string_view description{}; // shown beside the header, empty for a plain image
    // Recognised only once the known other formats are ruled out: its rule is weak enough that
    // an archive or a picture could meet it.
    bool afterOtherFormats = false;
    // Whether a file of fileSize bytes that starts with probe (ProbeSize bytes, or all of a
    // shorter file) is in this layout.
    Verdict (*recognise)(std::span<const std::uint8_t> probe, std::uint64_t fileSize) = nullptr;
    // What a doubtful recognition leaves open, said when a write is refused.
    std::string_view doubt{};
    // The bytes before the ROM (a copier header), and the blocks the ROM lies in after them;
    // a last piece of a block is left out of the ROM. A block size of 1: no blocks.
    std::uint64_t prefixSize = 0;
    std::size_t blockSize = 1;
    // Where the ROM's byte at romOffset lies in the file.
    std::uint64_t (*fileOffset)(std::uint64_t romOffset) = OffsetAsItLies;
    // Adds whole blocks of the file's ROM, as they lie, to the checksum; empty for a layout
    // whose ROM has no checksum.
    void (*sum)(RomChecksumAccumulator& checksum, const std::uint8_t* bytes,
                std::size_t count) = nullptr;
    // Why the file may not be written at all, or why it may not grow; empty when it may.
    std::string_view writeRefusal{};
    std::string_view growthRefusal{};
    // The first header-space byte a write may reach: a cartridge's header, never the 68000
    // vectors before it; a disc's system area, which its first sector starts with.
    std::uint32_t writableFrom = HeaderStart;
    // What else a write must respect: why a new header cannot be written over this image
    // (probe as read, before the edit), or empty.
    std::string_view (*refuseHeader)(std::span<const std::uint8_t> probe,
                                     const HeaderBytes& header) = nullptr;
    // What a write must also redo once the new header bytes are in the file's first bytes
    // (image, ProbeSize bytes), widening the runs it writes to cover it: a raw disc sector's
    // EDC and parities, say. Empty when nothing else changes.
    void (*finishWrite)(std::span<std::uint8_t> image, std::vector<FileRun>& runs) = nullptr;
    // Conversions: count bytes (whole blocks but perhaps the last) of the file's ROM put in ROM
    // order; and ROM bytes put as this layout lays them, with the prefix an image of romSize
    // bytes starts with. Either is empty when no conversion goes that way.
    void (*toRomOrder)(const std::uint8_t* in, std::uint8_t* out, std::size_t count) = nullptr;
    void (*fromRomOrder)(const std::uint8_t* in, std::uint8_t* out, std::size_t count) = nullptr;
    std::vector<std::uint8_t> (*prefixFor)(std::uint64_t romSize) = nullptr;
    std::string_view convertKey{}; // what convert --to calls this layout; empty: not made
    // Why the commands that work on the whole ROM (check, fix, pad, convert) refuse the file;
    // empty for a cartridge.
    std::string_view romRefusal{};
    // A disc: where its first sector's user data (system area, header) starts in the file.
    std::optional<std::size_t> discUserData{};
};

extern const ImageLayout PlainLayout;
extern const ImageLayout InterleavedLayout;
extern const ImageLayout ByteSwappedLayout;
extern const ImageLayout Disc2048Layout;
extern const ImageLayout Disc2352Layout;

// Every layout, in the order recognition tries them (the known other formats are ruled out
// before the first layout whose rule is weak enough to need it).
std::span<const ImageLayout* const> ImageLayouts();
const ImageLayout* FindImageLayout(std::string_view key);

// A kind of file that is known not to be a ROM image, by the bytes it starts with.
struct NonRomFormat {
    std::string_view magic;
    std::size_t offset;
    std::string_view name; // "a ZIP archive", with anything a user needs to know
};

std::span<const NonRomFormat> NonRomFormats();

struct Recognition {
    const ImageLayout* layout = &PlainLayout;
    Verdict verdict = Verdict::Sure;
    const NonRomFormat* notRom = nullptr; // a known other format: nothing is read or written
};

// How a file of fileSize bytes that starts with probe is read; a layout given (--layout) is
// taken as it is.
Recognition RecogniseImage(std::span<const std::uint8_t> probe, std::uint64_t fileSize,
                           const ImageLayout* given = nullptr);

// Why a file of that format is neither read nor written: "a ZIP archive, not a ROM image".
std::string NotRomText(const NonRomFormat& format);

// Why no editor works on a file recognised so: a known other format, or a layout that is never
// written (a byte-swapped image, whose texts would show and be saved with each pair of letters
// swapped); empty when one may. Every write refuses the same, and a layout in doubt.
std::string EditRefusal(const Recognition& recognition);

// Why a file recognised so may not grow (pad): a layout in doubt, one without a ROM to pad (a
// disc), or one a growth does not fit (an interleaved image's blocks); empty when it may.
std::string GrowthRefusal(const Recognition& recognition);

// Why a write from header-space offset on is refused in this layout, or empty when it is not.
std::string WriteStartRefusal(const ImageLayout& layout, std::uint32_t offset);

// The runs of the file the header span from begin to end (ROM offsets) makes in this layout,
// each run's bytes contiguous in the file, in file order.
std::vector<FileRun> HeaderRuns(const ImageLayout& layout, std::uint64_t begin, std::uint64_t end);

} // namespace quillon
