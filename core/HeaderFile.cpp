// SPDX-License-Identifier: MIT
#include "HeaderFile.h"

#include "CueSheet.h"
#include "SystemFile.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace quillon {

namespace {

// The header as the layout places it in the file's first bytes; zeros past their end.
HeaderBytes headerOf(const ImageLayout& layout, std::span<const std::uint8_t> probe) {
    HeaderBytes header{};
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (const std::uint64_t at = layout.fileOffset(i); at < probe.size())
            header[i] = probe[at];
    }
    return header;
}

// A single pass over the file, which ends at the length the file had when it was opened, so
// that a file that grows meanwhile, or a pseudo-file that claims no length, still ends. Each
// read after the first starts on a block of the layout, and a last piece of a block is left
// out of the ROM.
Result<> readRom(RandomAccessFile& file, const std::string& path, const ImageLayout* given,
                 LoadedHeader& loaded) {
    const auto failed = [&] { return Failure(path, file.error()); };
    const auto length = file.size();
    if (!length)
        return failed();
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(ReadBufferSize);
    static_assert(ReadBufferSize >= ProbeSize);

    std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(ProbeSize, *length));
    const auto probe = file.readAt(0, buffer.get(), wanted);
    if (!probe)
        return failed();
    const Recognition recognition = RecogniseImage({buffer.get(), *probe}, *length, given);
    loaded.layout = recognition.layout;
    loaded.doubtful = recognition.verdict == Verdict::Doubtful;
    loaded.notRom = recognition.notRom;
    loaded.fileSize = *length;
    if (loaded.notRom)
        return {};
    const ImageLayout& layout = *loaded.layout;
    loaded.bytes = headerOf(layout, {buffer.get(), *probe});
    // A disc has no ROM to sum, and its size is no ROM's: nothing past its first sector is read.
    if (layout.discUserData) {
        loaded.discUserData.assign(SectorUserDataSize, 0);
        if (*layout.discUserData < *probe)
            std::copy_n(buffer.get() + *layout.discUserData,
                        std::min<std::size_t>(SectorUserDataSize, *probe - *layout.discUserData),
                        loaded.discUserData.begin());
        if (*layout.discUserData == RawUserDataOffset && *probe >= RawSectorSize) {
            RawSector sector;
            std::copy_n(buffer.get(), sector.size(), sector.begin());
            loaded.firstSectorCheck = CheckMode1Sector(sector);
        }
        loaded.romSize = *length;
        return {};
    }

    for (std::size_t i = 0; i < loaded.marsArea.size(); ++i) {
        if (const std::uint64_t at = layout.fileOffset(MarsAreaStart + i); at < *probe)
            loaded.marsArea[i] = buffer[at];
    }

    RomChecksumAccumulator checksum;
    std::uint64_t offset = 0;
    std::size_t count = *probe;
    std::size_t skip = static_cast<std::size_t>(std::min<std::uint64_t>(layout.prefixSize, count));
    for (;;) {
        const std::size_t rom = count - skip;
        const std::size_t whole = rom - rom % layout.blockSize;
        if (layout.sum)
            layout.sum(checksum, buffer.get() + skip, whole);
        loaded.romSize += whole;
        offset += count;
        if (count < wanted || offset >= *length || whole < rom)
            break;
        wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(ReadBufferSize, *length - offset));
        const auto read = file.readAt(offset, buffer.get(), wanted);
        if (!read)
            return failed();
        count = *read;
        skip = 0;
    }
    loaded.fileSize = offset;
    loaded.calculated = checksum.result();
    loaded.sumAtEnd = checksum;
    return {};
}

// Takes back what a failed save did, as far as it can: the bytes that were there are written
// back, and a file this save grew gets its length back. A file that is now longer than this
// save could have made it was grown by someone else and keeps its length.
void undo(RandomAccessFile& file, const std::vector<FileRun>& written, const std::uint8_t* original,
          std::uint64_t originalLength, std::uint64_t end) {
    for (const FileRun& run : written) {
        if (run.offset < originalLength) {
            const auto count = std::min<std::uint64_t>(run.length, originalLength - run.offset);
            file.writeAt(run.offset, original + run.offset, static_cast<std::size_t>(count));
        }
    }
    const auto length = file.size();
    if (length && *length > originalLength && *length <= end)
        file.truncate(originalLength);
    file.flush();
}

// Whether a file of length bytes, read now as the header says, still has the header and length
// a load found.
bool isAsExpected(const ExpectedHeader& expected, const HeaderBytes& header, std::uint64_t length) {
    return length == expected.fileSize && std::equal(header.begin() + HeaderStart, header.end(),
                                                     expected.bytes.begin() + HeaderStart);
}

// Appends growth's fill bytes to a file of length bytes, through a buffer of bounded size.
bool grow(RandomAccessFile& file, std::uint64_t length, const Growth& growth) {
    if (!file.allocate(length, growth.size - length))
        return false;
    const auto chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(ReadBufferSize, growth.size - length));
    const std::vector<std::uint8_t> fill(chunk, growth.fill);
    for (std::uint64_t at = length; at < growth.size; at += chunk) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk, growth.size - at));
        if (!file.writeAt(at, fill.data(), count))
            return false;
    }
    return true;
}

// Every stretch of header bytes an edit writes, the texts fitted to their fields.
std::vector<HeaderPatch> editedBytes(const HeaderEdit& edit) {
    std::vector<HeaderPatch> pieces;
    if (edit.checksum)
        pieces.push_back(
            {ChecksumWord::offset,
             {static_cast<char>(edit.checksum->high), static_cast<char>(edit.checksum->low)}});
    for (const HeaderField& field : HeaderFieldTable) {
        if (const auto& text = edit.texts[field.index])
            pieces.push_back({field.offset, fitFieldText(*text, field)});
    }
    // A patch of no bytes asks for nothing; kept, it would have the file reserve no bytes,
    // which the file system refuses, and the whole save would fail.
    std::copy_if(edit.patches.begin(), edit.patches.end(), std::back_inserter(pieces),
                 [](const HeaderPatch& patch) { return !patch.bytes.empty(); });
    std::sort(pieces.begin(), pieces.end(),
              [](const HeaderPatch& a, const HeaderPatch& b) { return a.offset < b.offset; });
    return pieces;
}

// A cue sheet is never read as an image nor written: the program works on its data track's
// file, in the layout its mode names.
struct ImageFile {
    std::string path;
    const ImageLayout* layout = nullptr;
    std::string readOnly; // why it is read but not written
};

// A sheet holds a few lines a track; anything longer is no cue sheet.
constexpr std::size_t largestCueSheet = 64 * 1024;

// The sheet's text, failed when it cannot be read, refused when it is too long for one.
Result<std::string> sheetText(const std::string& path) {
    SystemFile sheet(path, SystemFile::Access::Read);
    std::string text(largestCueSheet + 1, '\0');
    const auto read =
        sheet.isOpen() ? sheet.readAt(0, reinterpret_cast<std::uint8_t*>(text.data()), text.size())
                       : std::nullopt;
    if (!read)
        return Failure(path, sheet.error());
    if (*read > largestCueSheet)
        return Refusal(path, "more than 64 KiB, too long for a cue sheet");
    text.resize(*read);
    return text;
}

// A FILE of a sheet is relative to the sheet's folder.
std::string besideSheet(const std::string& path, const std::string& file) {
#ifdef _WIN32
    const auto slash = path.find_last_of("/\\");
#else
    const auto slash = path.find_last_of('/');
#endif
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + file;
}

// The file to work on, failed when the sheet cannot be read, refused for what it says.
Result<ImageFile> imageFile(const std::string& path, const ImageLayout* given) {
    if (!IsCueSheetPath(path))
        return ImageFile{path, given, {}};
    const Result<std::string> text = sheetText(path);
    if (!text)
        return text.problem();
    const Result<CueDataTrack> cue = ReadCueSheet(*text);
    if (!cue)
        return Refusal(path, cue.problem().reason);
    const CueDataTrack& track = *cue;
    const std::string image = besideSheet(path, track.file);
    if (track.byteOffset != 0)
        return Refusal(path, "its data track starts " + std::to_string(track.byteOffset) +
                                 " bytes into " + track.file +
                                 "; only a track at the file's start is read");
    ImageFile file{image, given, {}};
    if (!file.layout)
        file.layout = track.sectorSize == SectorUserDataSize ? &Disc2048Layout : &Disc2352Layout;
    if (track.mode.starts_with("MODE2"))
        file.readOnly =
            "its data track is " + track.mode + " (Mode 2), which is read but never written";
    return file;
}

} // namespace

Result<LoadedHeader> LoadHeader(const std::string& path, const ImageLayout* layout) {
    const Result<ImageFile> image = imageFile(path, layout);
    if (!image) {
        Problem problem = image.problem();
        problem.outcome = Outcome::Failed;
        return problem;
    }
    SystemFile file(image->path, SystemFile::Access::Read);
    if (!file.isOpen())
        return Failure(image->path, file.error());
    return LoadHeader(file, image->path, image->layout);
}

Result<LoadedHeader> LoadHeader(RandomAccessFile& file, const std::string& name,
                                const ImageLayout* layout) {
    LoadedHeader loaded;
    if (const Result<> read = readRom(file, name, layout, loaded); !read)
        return read.problem();

    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(
            reinterpret_cast<const char*>(loaded.bytes.data() + field.offset), field.length);
        loaded.texts[field.index] = bytes.substr(0, bytes.find('\0'));
    }
    loaded.storedHigh = loaded.bytes[ChecksumWord::offset];
    loaded.storedLow = loaded.bytes[ChecksumWord::offset + 1];
    return loaded;
}

std::vector<std::string> CueSheetFiles(const std::string& path) {
    std::vector<std::string> files;
    if (const Result<std::string> text = sheetText(path)) {
        for (const std::string& file : CueSheetFileNames(*text))
            files.push_back(besideSheet(path, file));
    }
    return files;
}

std::optional<Problem> EditRefusalOf(const std::string& path, const LoadedHeader& header) {
    const std::string why = EditRefusal(RecognitionOf(header));
    return why.empty() ? std::nullopt : std::optional(Refusal(path, why));
}

Result<LoadedHeader> LoadHeaderToEdit(const std::string& path, const ImageLayout* layout) {
    Result<LoadedHeader> loaded = LoadHeader(path, layout);
    if (loaded) {
        if (auto refused = EditRefusalOf(path, *loaded))
            return std::move(*refused);
    }
    return loaded;
}

ByteText fitFieldText(const ByteText& text, const HeaderField& field) {
    ByteText fitted = text.substr(0, field.length);
    fitted.resize(field.length, ' ');
    return fitted;
}

Result<Written> WriteHeaderEdit(const std::string& path, const HeaderEdit& edit,
                                const ImageLayout* layout) {
    const Result<ImageFile> image = imageFile(path, layout);
    if (!image)
        return image.problem();
    if (!image->readOnly.empty())
        return Refusal(path, image->readOnly);
    SystemFile file(image->path, SystemFile::Access::Write);
    return WriteHeaderEdit(file, image->path, edit, image->layout);
}

Result<Written> WriteHeaderEdit(RandomAccessFile& file, const std::string& path,
                                const HeaderEdit& edit, const ImageLayout* given) {
    const auto failed = [&] { return Failure(path, file.error()); };
    if (!file.isOpen())
        return failed();
    const auto length = file.size();
    if (!length)
        return failed();
    // Every byte a save writes lies in this first stretch, so it also keeps what undo needs;
    // past the end of a short file it holds the zeros the file grows with, unless a growth says.
    auto original = std::make_unique<std::uint8_t[]>(ProbeSize);
    const auto count = file.readAt(0, original.get(), ProbeSize);
    if (!count)
        return failed();
    const std::span<const std::uint8_t> probe(original.get(), *count);
    const auto refused = [&](std::string_view why) { return Refusal(path, std::string(why)); };
    const std::vector<HeaderPatch> pieces = editedBytes(edit);
    // Whoever asks, no byte outside the header is written.
    for (const HeaderPatch& piece : pieces) {
        if (piece.offset + piece.bytes.size() > ChecksummedRegionStart)
            return refused("0x" + ToHex(piece.offset) + " lies outside the header");
    }
    const Recognition recognition = RecogniseImage(probe, *length, given);
    // Checked on the bytes this save goes on from, so nothing can change in between.
    if (edit.expected &&
        (recognition.notRom ||
         !isAsExpected(*edit.expected, headerOf(*recognition.layout, probe), *length)))
        return Problem{Outcome::Changed, path, "changed since it was loaded"};
    if (const std::string why = EditRefusal(recognition); !why.empty())
        return refused(why);
    const ImageLayout& layout = *recognition.layout;
    if (recognition.verdict == Verdict::Doubtful)
        return refused(layout.doubt);
    if (!pieces.empty()) {
        if (const std::string why = WriteStartRefusal(layout, pieces.front().offset); !why.empty())
            return refused(why);
    }
    if (edit.wholeHeader && *length < ChecksummedRegionStart)
        return refused(std::to_string(*length) + " bytes, too short for a ROM header (" +
                       std::to_string(ChecksummedRegionStart) + " bytes)");
    const bool grows = edit.growth && edit.growth->size > *length;
    if (const std::string why = grows ? GrowthRefusal(recognition) : std::string(); !why.empty())
        return refused(why);
    // The bytes a growth appends are the file's from here on: a run of the edit that spans
    // them between two pieces writes them back as grown, not as the zeros read past the end.
    std::size_t known = *count;
    if (grows && *count == *length) {
        known = static_cast<std::size_t>(std::min<std::uint64_t>(ProbeSize, edit.growth->size));
        std::fill(original.get() + *count, original.get() + known, edit.growth->fill);
    }
    HeaderBytes header = headerOf(layout, {original.get(), known});
    for (const HeaderPatch& piece : pieces)
        std::copy(piece.bytes.begin(), piece.bytes.end(), header.begin() + piece.offset);
    if (layout.refuseHeader) {
        if (const std::string_view why = layout.refuseHeader(probe, header); !why.empty())
            return refused(why);
    }

    // The new bytes of the whole span the edit touches, in the file's order: what was read,
    // with the edit over it.
    std::uint64_t begin = ChecksummedRegionStart;
    std::uint64_t end = 0;
    for (const HeaderPatch& piece : pieces) {
        begin = std::min<std::uint64_t>(begin, piece.offset);
        end = std::max<std::uint64_t>(end, piece.offset + piece.bytes.size());
    }
    std::vector<FileRun> runs =
        pieces.empty() ? std::vector<FileRun>() : HeaderRuns(layout, begin, end);
    std::vector<std::uint8_t> image(original.get(), original.get() + ProbeSize);
    for (std::uint64_t at = begin; at < end; ++at)
        image[layout.fileOffset(at)] = header[at];
    if (layout.finishWrite && !runs.empty())
        layout.finishWrite(image, runs);
    const std::uint64_t written = runs.empty() ? 0 : runs.back().offset + runs.back().length;
    if (written > *length && !layout.growthRefusal.empty())
        return refused(layout.growthRefusal);

    // A failed save takes back a growth up to here, and never more.
    const std::uint64_t furthest = std::max(written, grows ? edit.growth->size : 0);
    if ((grows && !grow(file, *length, *edit.growth)) ||
        (!runs.empty() && !file.allocate(runs.front().offset, written - runs.front().offset))) {
        undo(file, {}, original.get(), *length, furthest);
        return failed();
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const FileRun& run = runs[i];
        if (!file.writeAt(run.offset, image.data() + run.offset,
                          static_cast<std::size_t>(run.length))) {
            undo(file, {runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(i) + 1},
                 original.get(), *length, furthest);
            return failed();
        }
    }
    if (!file.flush()) {
        undo(file, runs, original.get(), *length, furthest);
        return failed();
    }
    if (!file.close())
        return failed();
    return Written{*length};
}

SaveResult SaveHeader(const std::string& path, std::string_view checksumText,
                      const FieldTexts& texts, const std::optional<ExpectedHeader>& expected) {
    const auto checksum = ParseChecksumEntry(checksumText);
    if (!checksum)
        return {SaveStatus::InvalidChecksum, {}, {}, {}};

    HeaderEdit edit;
    edit.checksum = SplitChecksum(*checksum);
    SaveResult result{SaveStatus::Saved, {}, {}, {}};
    for (const HeaderField& field : HeaderFieldTable) {
        result.texts[field.index] = fitFieldText(texts[field.index], field);
        edit.texts[field.index] = result.texts[field.index];
    }
    edit.expected = expected;
    const Result<Written> written = WriteHeaderEdit(path, edit);
    if (!written)
        return {written.outcome() == Outcome::Changed ? SaveStatus::Changed : SaveStatus::Failed,
                {},
                written.problem().text(),
                {}};
    if (expected) {
        // The file now holds what was expected with this edit on it, and a short file has grown
        // to hold it (an interleaved image is always long enough).
        result.expected = expected;
        for (const HeaderPatch& piece : editedBytes(edit))
            std::copy(piece.bytes.begin(), piece.bytes.end(),
                      result.expected->bytes.begin() + piece.offset);
        result.expected->fileSize = std::max<std::uint64_t>(written->originalSize, HeaderWriteEnd);
    }
    return result;
}

} // namespace quillon
