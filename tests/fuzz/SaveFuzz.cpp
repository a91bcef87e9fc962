// SPDX-License-Identifier: MIT
// A save of any texts, checksum and header bytes into any file: it writes exactly the bytes it
// names where the layout keeps them and nothing else, or refuses and leaves the file as it was;
// a load afterwards reads back what was written.
#include "FuzzSupport.h"
#include "HeaderFile.h"
#include "InterleavedImage.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

using namespace quillon;
using quillon::fuzz::Bytes;

namespace {

struct Attempt {
    std::vector<HeaderPatch> pieces; // every byte asked for, at its offset in the ROM
    std::optional<Growth> growth;
    bool refusable = false; // an invalid checksum or a byte outside the header
    WriteStatus status = WriteStatus::Failed;
};

ByteText checksumText(ChecksumBytes bytes) {
    return {static_cast<char>(bytes.high), static_cast<char>(bytes.low)};
}

// The six texts and the checksum typed into the window.
Attempt saveHeader(FuzzedDataProvider& input, const std::string& path) {
    Attempt attempt;
    const std::string typed = input.ConsumeRandomLengthString(12);
    FieldTexts texts;
    for (ByteText& text : texts)
        text = input.ConsumeRandomLengthString(64);
    const auto checksum = ParseChecksumEntry(typed);
    attempt.refusable = !checksum;
    if (checksum)
        attempt.pieces.push_back({ChecksumWord::offset, checksumText(SplitChecksum(*checksum))});
    for (const HeaderField& field : HeaderFieldTable)
        attempt.pieces.push_back({field.offset, fitFieldText(texts[field.index], field)});
    const SaveResult saved = SaveHeader(path, typed, texts);
    attempt.status =
        saved.status == SaveStatus::Saved ? WriteStatus::Written : WriteStatus::Refused;
    FUZZ_CHECK((saved.status == SaveStatus::InvalidChecksum) == !checksum);
    if (saved.status == SaveStatus::Saved) {
        for (const HeaderField& field : HeaderFieldTable)
            FUZZ_CHECK(saved.texts[field.index] == fitFieldText(texts[field.index], field));
    }
    return attempt;
}

// Any of the fields, the checksum and the other header fields, a growth, and now and then bytes
// that run past the header.
Attempt writeHeaderEdit(FuzzedDataProvider& input, const std::string& path) {
    Attempt attempt;
    HeaderEdit edit;
    if (input.ConsumeBool()) {
        edit.checksum = ChecksumBytes{input.ConsumeIntegral<std::uint8_t>(),
                                      input.ConsumeIntegral<std::uint8_t>()};
        attempt.pieces.push_back({ChecksumWord::offset, checksumText(*edit.checksum)});
    }
    for (const HeaderField& field : HeaderFieldTable) {
        if (input.ConsumeBool()) {
            edit.texts[field.index] = input.ConsumeRandomLengthString(64);
            attempt.pieces.push_back({field.offset, fitFieldText(*edit.texts[field.index], field)});
        }
    }
    for (const HeaderInfoField& field : HeaderInfoTable) {
        if (input.ConsumeBool())
            edit.patches.push_back({field.offset, input.ConsumeBytesAsString(field.length)});
    }
    if (input.ConsumeBool()) {
        // Past the last field, so no other piece overlaps it.
        const auto offset = input.ConsumeIntegralInRange<std::uint32_t>(0x1F3, 0x210);
        const std::string bytes = input.ConsumeRandomLengthString(16);
        attempt.refusable = !bytes.empty() && offset + bytes.size() > ChecksummedRegionStart;
        edit.patches.push_back({offset, bytes});
    }
    attempt.pieces.insert(attempt.pieces.end(), edit.patches.begin(), edit.patches.end());
    if (input.ConsumeBool())
        edit.growth = Growth{input.ConsumeIntegralInRange<std::uint64_t>(0, 0x800),
                             input.ConsumeIntegral<std::uint8_t>()};
    attempt.growth = edit.growth;
    const WriteResult written = WriteHeaderEdit(path, edit);
    FUZZ_CHECK(written.status != WriteStatus::Written || written.error.empty());
    attempt.status = written.status;
    return attempt;
}

// The file as a save of attempt must leave it.
Bytes expectedFile(const Bytes& before, const Attempt& attempt, RomLayout layout) {
    Bytes after = before;
    std::uint64_t end = 0;
    for (const HeaderPatch& piece : attempt.pieces) {
        if (!piece.bytes.empty())
            end = std::max<std::uint64_t>(end, piece.offset + piece.bytes.size());
    }
    if (attempt.growth && attempt.growth->size > after.size())
        after.resize(attempt.growth->size, attempt.growth->fill);
    if (layout == RomLayout::Plain && end > after.size())
        after.resize(end, 0);
    for (const HeaderPatch& piece : attempt.pieces) {
        for (std::size_t k = 0; k < piece.bytes.size(); ++k) {
            const std::uint64_t offset = piece.offset + k;
            const std::uint64_t place =
                layout == RomLayout::Interleaved ? InterleavedOffset(offset) : offset;
            FUZZ_CHECK(place < after.size());
            after[place] = static_cast<std::uint8_t>(piece.bytes[k]);
        }
    }
    return after;
}

} // namespace

// The input: the file's length in three bytes, low byte first, the file, then the edit: its
// texts from the front of what is left, its choices from the end.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const std::size_t length = std::min<std::size_t>(size - 3, data[0] | std::size_t{data[1]} << 8 |
                                                                   std::size_t{data[2]} << 16);
    const Bytes before(data + 3, data + 3 + length);
    const std::string& path = fuzz::scratchFile(before);
    const LoadResult loaded = LoadHeader(path);
    FUZZ_CHECK(loaded.header);
    const RomLayout layout = loaded.header->layout;

    FuzzedDataProvider input(data + 3 + length, size - 3 - length);
    const Attempt attempt =
        input.ConsumeBool() ? saveHeader(input, path) : writeHeaderEdit(input, path);
    const Bytes after = test::readBytes(path);
    if (attempt.status != WriteStatus::Written) {
        FUZZ_CHECK(attempt.status == WriteStatus::Refused);
        FUZZ_CHECK(attempt.refusable || layout != RomLayout::Plain);
        FUZZ_CHECK(after == before);
        return 0;
    }
    FUZZ_CHECK(!attempt.refusable && layout != RomLayout::ByteSwapped);
    FUZZ_CHECK(after == expectedFile(before, attempt, layout));

    // Read back through the layout the file had, unless the bytes written made it another.
    const LoadResult reread = LoadHeader(path);
    FUZZ_CHECK(reread.header);
    if (reread.header->layout != layout)
        return 0;
    for (const HeaderPatch& piece : attempt.pieces) {
        FUZZ_CHECK(std::equal(
            piece.bytes.begin(), piece.bytes.end(), reread.header->bytes.begin() + piece.offset,
            [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    }
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(reinterpret_cast<const char*>(reread.header->bytes.data()) +
                                         field.offset,
                                     field.length);
        FUZZ_CHECK(reread.header->texts[field.index] == bytes.substr(0, bytes.find('\0')));
    }
    return 0;
}
