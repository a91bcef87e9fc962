// SPDX-License-Identifier: MIT
// Reading a ROM's header and writing it back in place: only the six fields and the checksum
// word are ever written, and a file is never created or shortened.
#pragma once

#include "CdSector.h"
#include "CharacterSet.h"
#include "HeaderInfo.h"
#include "HeaderLayout.h"
#include "HexText.h"
#include "ImageLayout.h"
#include "MarsProgram.h"
#include "Outcome.h"
#include "RandomAccessFile.h"
#include "RomChecksum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

using FieldTexts = std::array<ByteText, HeaderFieldCount>;

// A load streams the file through a buffer of this size, so memory stays flat for any file.
// Measured against larger ones, 256 KiB stays in the processor's cache while the checksum reads
// it, and a fresh process reads its file fastest with it.
inline constexpr std::size_t ReadBufferSize = std::size_t{1} << 18;

// Of an interleaved copier image, everything but fileSize describes the ROM put back in order; a
// byte-swapped image is described as it lies.
struct LoadedHeader {
    FieldTexts texts; // each field up to its first zero byte
    std::uint8_t storedHigh = 0;
    std::uint8_t storedLow = 0;
    RomChecksum calculated = 0;
    RomChecksumAccumulator sumAtEnd; // the sum as it stands at the ROM's end, to go on from
    std::uint64_t fileSize = 0;
    std::uint64_t romSize = 0; // the file's size less an interleaved image's copier header
    HeaderBytes bytes{};       // the header exactly; zeros past the end of a short ROM
    MarsArea marsArea{};       // a cartridge's 32X user header and security program, likewise
    const ImageLayout* layout = &PlainLayout;
    bool doubtful = false; // read in that layout though nothing confirms it: never written so
    const NonRomFormat* notRom = nullptr; // a known other format: nothing else is read
    // A disc's first sector's user data (system area, header, security program); zeros past
    // the file's end. Empty for a cartridge.
    std::vector<std::uint8_t> discUserData;
    // A raw disc's first sector checked as it was read: its EDC and parities.
    std::optional<SectorCheck> firstSectorCheck;
};

// The disc's first sector's user data, of a header with discUserData.
inline std::span<const std::uint8_t, SectorUserDataSize> DiscUserData(const LoadedHeader& header) {
    return std::span<const std::uint8_t, SectorUserDataSize>(header.discUserData.data(),
                                                             SectorUserDataSize);
}

// The checksum calculated over the ROM, or nothing for a layout whose ROM has none (a disc).
inline std::optional<RomChecksum> CalculatedChecksum(const LoadedHeader& header) {
    return header.layout->sum ? std::optional(header.calculated) : std::nullopt;
}

// A layout given (--layout) is taken instead of the one the file's bytes tell. A path ending in
// ".cue" is a cue sheet: its data track's file is read, in the layout the track's mode names.
// Whatever keeps the file from being read fails the load, a cue sheet that names no such file
// too; any file read gives a header, whatever it holds.
Result<LoadedHeader> LoadHeader(const std::string& path, const ImageLayout* layout = nullptr);
// The same from a file already open for reading (a member of an archive, say), which name
// names in messages; it is read as it is, never as a cue sheet.
Result<LoadedHeader> LoadHeader(RandomAccessFile& file, const std::string& name,
                                const ImageLayout* layout = nullptr);

// Every file a cue sheet's FILE lines name, as paths beside the sheet, as a load reaches them;
// none when the sheet cannot be read.
std::vector<std::string> CueSheetFiles(const std::string& path);

// How the file was recognised when it was loaded.
inline Recognition RecognitionOf(const LoadedHeader& header) {
    return {header.layout, header.doubtful ? Verdict::Doubtful : Verdict::Sure, header.notRom};
}

// Why no editor works on a loaded file (EditRefusal), or nothing.
std::optional<Problem> EditRefusalOf(const std::string& path, const LoadedHeader& header);

// A load for an editor, the window or a command that shows or changes a header: a file that
// none works on is refused (EditRefusalOf).
Result<LoadedHeader> LoadHeaderToEdit(const std::string& path, const ImageLayout* layout = nullptr);

// Bytes written at an offset of the header as they are.
struct HeaderPatch {
    std::uint32_t offset;
    ByteText bytes;
};

// Bytes of one value appended to a file until it has size bytes.
struct Growth {
    std::uint64_t size;
    std::uint8_t fill;
};

// The header and the file's length as a load found them, for a write that must not go over a
// header someone else changed since.
struct ExpectedHeader {
    HeaderBytes bytes; // as the ROM reads them, as LoadedHeader holds them
    std::uint64_t fileSize = 0;
};

// What to write; a field or checksum left empty keeps its bytes.
struct HeaderEdit {
    std::optional<ChecksumBytes> checksum;
    std::array<std::optional<ByteText>, HeaderFieldCount> texts;
    std::vector<HeaderPatch> patches; // the rest of the header: device support, ranges, ...
    std::optional<Growth> growth;     // a file shorter than this grows to it first
    bool wholeHeader = false;         // a file too short to hold the header is refused
    // When set, a file whose header bytes (0x100-0x1FF) or length differ is left as it is.
    std::optional<ExpectedHeader> expected;
};

struct Written {
    std::uint64_t originalSize = 0; // the file's length before the write
};

// Writes an edit in place and flushes it to the device. Texts are fitted to their fields
// first; a file shorter than the furthest byte written grows to it with zeros. In an
// interleaved image each byte goes to its place in the image. Each run of bytes the edit makes
// in the file is written once, from the bytes read and the edit. A save that does not succeed
// leaves the file's length and bytes as they were. A layout given, and a cue sheet, are taken
// as LoadHeader takes them; the sheet is never written, nor a Mode 2 track. Refused: not a ROM,
// a layout not written or in doubt, a growth or a header it cannot take; Changed: the file is not
// as expected.
Result<Written> WriteHeaderEdit(const std::string& path, const HeaderEdit& edit,
                                const ImageLayout* layout = nullptr);
// The same on a file already open for writing, which is closed at the end; path names it in
// messages.
Result<Written> WriteHeaderEdit(RandomAccessFile& file, const std::string& path,
                                const HeaderEdit& edit, const ImageLayout* layout = nullptr);

// A field's text as it is stored: cut to the field, or padded with spaces up to it.
ByteText fitFieldText(const ByteText& text, const HeaderField& field);

enum class SaveStatus { Saved, InvalidChecksum, Failed, Changed };

struct SaveResult {
    SaveStatus status = SaveStatus::Failed;
    FieldTexts texts;  // when Saved: the texts as written, each padded to its field
    std::string error; // when Failed or Changed: the path and the reason
    // When Saved with an expected header: the file as it is now, for the next save to expect.
    std::optional<ExpectedHeader> expected;
};

// Saves all six texts and the checksum typed by the user; an invalid checksum writes nothing,
// and neither does a failure, nor a file that is not as expected.
SaveResult SaveHeader(const std::string& path, std::string_view checksumText,
                      const FieldTexts& texts,
                      const std::optional<ExpectedHeader>& expected = std::nullopt);

} // namespace quillon
