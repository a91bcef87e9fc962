// SPDX-License-Identifier: MIT
#include "HeaderFile.h"

#include "InterleavedImage.h"
#include "SystemFile.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace quillon {

namespace {

// Takes the ROM's bytes in order, in pieces of any size, keeping the header aside while the
// whole is summed.
class RomSink {
public:
    explicit RomSink(LoadedHeader& loaded) : m_loaded(loaded) {}

    void add(const std::uint8_t* bytes, std::size_t count) {
        if (m_loaded.romSize < m_loaded.bytes.size()) {
            const auto toCopy = static_cast<std::size_t>(
                std::min<std::uint64_t>(count, m_loaded.bytes.size() - m_loaded.romSize));
            std::memcpy(m_loaded.bytes.data() + m_loaded.romSize, bytes, toCopy);
        }
        m_checksum.add({bytes, count});
        m_loaded.romSize += count;
    }

    // Whole blocks only; a piece of a block, left by a file that shrank while it was read, is
    // dropped. The first block is put back in order, for the header it holds; the others are
    // summed where they lie.
    void addInterleaved(const std::uint8_t* bytes, std::size_t count) {
        constexpr std::size_t half = InterleavedBlockSize / 2;
        for (; count >= InterleavedBlockSize; count -= InterleavedBlockSize) {
            if (m_loaded.romSize == 0) {
                DeinterleaveBlock(bytes, m_block.get());
                add(m_block.get(), InterleavedBlockSize);
            } else {
                m_checksum.addSplitWords({bytes + half, half}, {bytes, half});
                m_loaded.romSize += InterleavedBlockSize;
            }
            bytes += InterleavedBlockSize;
        }
    }

    RomChecksum checksum() const { return m_checksum.result(); }
    const RomChecksumAccumulator& sum() const { return m_checksum; }

private:
    LoadedHeader& m_loaded;
    RomChecksumAccumulator m_checksum;
    std::unique_ptr<std::uint8_t[]> m_block =
        std::make_unique_for_overwrite<std::uint8_t[]>(InterleavedBlockSize);
};

// A single pass over the file, which ends at the length the file had when it was opened, so
// that a file that grows meanwhile, or a pseudo-file that claims no length, still ends.
std::optional<std::string> readRom(SystemFile& file, LoadedHeader& loaded) {
    const auto length = file.size();
    if (!length)
        return file.error();
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(ReadBufferSize);
    RomSink sink(loaded);

    // The first read takes just enough to recognise an interleaved image, so that every later
    // read of one starts on a block.
    std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(InterleavedProbeSize, *length));
    std::uint64_t offset = 0;
    for (;;) {
        const auto count = file.readAt(offset, buffer.get(), wanted);
        if (!count)
            return file.error();
        if (offset == 0)
            loaded.layout = DetectRomLayout({buffer.get(), *count}, *length);
        if (loaded.layout != RomLayout::Interleaved)
            sink.add(buffer.get(), *count);
        else if (offset == 0)
            sink.addInterleaved(buffer.get() + CopierHeaderSize, *count - CopierHeaderSize);
        else
            sink.addInterleaved(buffer.get(), *count);
        offset += *count;
        if (*count < wanted || offset >= *length)
            break;
        wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(ReadBufferSize, *length - offset));
    }
    loaded.fileSize = offset;
    loaded.calculated = sink.checksum();
    loaded.sumAtEnd = sink.sum();
    return std::nullopt;
}

// Takes back what a failed save did, as far as it can: the bytes that were there are written
// back, and a file this save grew gets its length back. A file that is now longer than this
// save could have made it was grown by someone else and keeps its length.
void undo(SystemFile& file, const std::vector<HeaderPatch>& written, const std::uint8_t* original,
          std::uint64_t originalLength, std::uint64_t end) {
    for (const HeaderPatch& piece : written) {
        if (piece.offset < originalLength) {
            const auto count =
                std::min<std::uint64_t>(piece.bytes.size(), originalLength - piece.offset);
            file.writeAt(piece.offset, original + piece.offset, static_cast<std::size_t>(count));
        }
    }
    const auto length = file.size();
    if (length && *length > originalLength && *length <= end)
        file.truncate(originalLength);
    file.flush();
}

// The header of an interleaved image, put back in order, still reads "SEGA" once the pieces
// are written: image holds the image's first InterleavedProbeSize bytes.
bool keepsTrademark(const std::uint8_t* image, const std::vector<HeaderPatch>& pieces) {
    HeaderBytes header;
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = image[InterleavedOffset(i)];
    for (const HeaderPatch& piece : pieces)
        std::copy(piece.bytes.begin(), piece.bytes.end(), header.begin() + piece.offset);
    return HasTrademark(header);
}

// Each piece of the ROM's header as the two runs it makes in an interleaved image: its odd
// bytes, which lie together in the block's first half, and its even bytes in the second.
std::vector<HeaderPatch> interleavedPieces(const std::vector<HeaderPatch>& pieces) {
    std::vector<HeaderPatch> mapped;
    for (const HeaderPatch& piece : pieces) {
        for (const std::uint32_t parity : {1u, 0u}) {
            HeaderPatch run{0, {}};
            for (std::size_t k = 0; k < piece.bytes.size(); ++k) {
                const std::uint64_t at = piece.offset + k;
                if (at % 2 != parity)
                    continue;
                if (run.bytes.empty())
                    run.offset = static_cast<std::uint32_t>(InterleavedOffset(at));
                run.bytes.push_back(piece.bytes[k]);
            }
            if (!run.bytes.empty())
                mapped.push_back(std::move(run));
        }
    }
    return mapped;
}

// Appends growth's fill bytes to a file of length bytes, through a buffer of bounded size.
bool grow(SystemFile& file, std::uint64_t length, const Growth& growth) {
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

} // namespace

LoadResult LoadHeader(const std::string& path) {
    SystemFile file(path, SystemFile::Access::Read);
    if (!file.isOpen())
        return {std::nullopt, file.error()};

    LoadedHeader loaded;
    if (auto error = readRom(file, loaded))
        return {std::nullopt, *error};

    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(
            reinterpret_cast<const char*>(loaded.bytes.data() + field.offset), field.length);
        loaded.texts[field.index] = bytes.substr(0, bytes.find('\0'));
    }
    loaded.storedHigh = loaded.bytes[ChecksumWord::offset];
    loaded.storedLow = loaded.bytes[ChecksumWord::offset + 1];
    return {loaded, {}};
}

ByteText fitFieldText(const ByteText& text, const HeaderField& field) {
    ByteText fitted = text.substr(0, field.length);
    fitted.resize(field.length, ' ');
    return fitted;
}

WriteResult WriteHeaderEdit(const std::string& path, const HeaderEdit& edit) {
    SystemFile file(path, SystemFile::Access::Write);
    const auto failed = [&file] { return WriteResult{WriteStatus::Failed, file.error(), 0}; };
    if (!file.isOpen())
        return failed();
    const auto length = file.size();
    if (!length)
        return failed();
    // Every byte a save writes lies in this first stretch, so it also keeps what undo needs.
    auto original = std::make_unique<std::uint8_t[]>(InterleavedProbeSize);
    const auto count = file.readAt(0, original.get(), InterleavedProbeSize);
    if (!count)
        return failed();
    const auto refused = [&](std::string_view why) {
        return WriteResult{WriteStatus::Refused, path + ": " + std::string(why), *length};
    };
    std::vector<HeaderPatch> pieces = editedBytes(edit);
    // Whoever asks, no byte outside the header is written.
    for (const HeaderPatch& piece : pieces) {
        if (piece.offset + piece.bytes.size() > ChecksummedRegionStart)
            return refused("0x" + ToHex(piece.offset) + " lies outside the header");
    }
    switch (DetectRomLayout({original.get(), *count}, *length)) {
    case RomLayout::ByteSwapped:
        return refused(ByteSwappedRefusal);
    case RomLayout::Interleaved:
        if (edit.growth && edit.growth->size > *length)
            return refused(InterleavedGrowthRefusal);
        if (!keepsTrademark(original.get(), pieces))
            return refused(InterleavedTrademarkRefusal);
        pieces = interleavedPieces(pieces);
        break;
    case RomLayout::Plain:
        break;
    }

    std::uint64_t begin = UINT64_MAX;
    std::uint64_t end = 0;
    for (const HeaderPatch& piece : pieces) {
        begin = std::min<std::uint64_t>(begin, piece.offset);
        end = std::max<std::uint64_t>(end, piece.offset + piece.bytes.size());
    }
    const bool grows = edit.growth && edit.growth->size > *length;
    // A failed save takes back a growth up to here, and never more.
    const std::uint64_t furthest = std::max(end, grows ? edit.growth->size : 0);
    if ((grows && !grow(file, *length, *edit.growth)) ||
        (!pieces.empty() && !file.allocate(begin, end - begin))) {
        undo(file, {}, original.get(), *length, furthest);
        return failed();
    }
    std::vector<HeaderPatch> written;
    for (const HeaderPatch& piece : pieces) {
        written.push_back(piece);
        if (!file.writeAt(piece.offset, piece.bytes.data(), piece.bytes.size())) {
            undo(file, written, original.get(), *length, furthest);
            return failed();
        }
    }
    if (!file.flush()) {
        undo(file, written, original.get(), *length, furthest);
        return failed();
    }
    if (!file.close())
        return failed();
    return {WriteStatus::Written, {}, *length};
}

SaveResult SaveHeader(const std::string& path, std::string_view checksumText,
                      const FieldTexts& texts) {
    const auto checksum = ParseChecksumEntry(checksumText);
    if (!checksum)
        return {SaveStatus::InvalidChecksum, {}, {}};

    HeaderEdit edit;
    edit.checksum = SplitChecksum(*checksum);
    SaveResult result{SaveStatus::Saved, {}, {}};
    for (const HeaderField& field : HeaderFieldTable) {
        result.texts[field.index] = fitFieldText(texts[field.index], field);
        edit.texts[field.index] = result.texts[field.index];
    }
    if (WriteResult written = WriteHeaderEdit(path, edit); written.status != WriteStatus::Written)
        return {SaveStatus::Failed, {}, std::move(written.error)};
    return result;
}

} // namespace quillon
