// SPDX-License-Identifier: MIT
// A save of any texts, checksum and header bytes into any file, in the layout recognised or one
// named, expecting the header a load found or another: it writes exactly the bytes it names
// where the layout's row keeps them (and what the row's own write redoes) and nothing else, or
// refuses and leaves the file as it was; a load afterwards reads back what was written. Nothing
// here names a layout but plain, so every row of the table is held to the same.
#include "FuzzSupport.h"
#include "HeaderFile.h"

#include <algorithm>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>

using namespace quillon;
using quillon::fuzz::Bytes;

namespace {

// How the save expects the file to be.
enum class Expectation { None, AsLoaded, Other };

struct Attempt {
    std::vector<HeaderPatch> pieces; // every byte asked for, at its offset in the ROM
    std::optional<Growth> growth;
    bool refusable = false;   // an invalid checksum or a byte outside the header
    bool wholeHeader = false; // a file too short for the header must be refused
    Outcome status = Outcome::Failed;
};

ByteText checksumText(ChecksumBytes bytes) {
    return {static_cast<char>(bytes.high), static_cast<char>(bytes.low)};
}

// The header and length as the load found them, or, of Other, with one of them changed.
std::optional<ExpectedHeader> expectation(FuzzedDataProvider& input, Expectation kind,
                                          const LoadedHeader& loaded) {
    if (kind == Expectation::None)
        return std::nullopt;
    ExpectedHeader expected{loaded.bytes, loaded.fileSize};
    if (kind == Expectation::Other) {
        if (input.ConsumeBool())
            expected.fileSize += input.ConsumeIntegralInRange<std::uint64_t>(1, 0x4000);
        else
            expected.bytes[input.ConsumeIntegralInRange<std::size_t>(HeaderStart,
                                                                     expected.bytes.size() - 1)] ^=
                input.ConsumeIntegralInRange<std::uint8_t>(1, 0xFF);
    }
    return expected;
}

// The six texts and the checksum typed into the window.
Attempt saveHeader(FuzzedDataProvider& input, const std::string& path,
                   const std::optional<ExpectedHeader>& expected) {
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
    const SaveResult saved = SaveHeader(path, typed, texts, expected);
    FUZZ_CHECK((saved.status == SaveStatus::InvalidChecksum) == !checksum);
    switch (saved.status) {
    case SaveStatus::Saved:
        attempt.status = Outcome::Done;
        break;
    case SaveStatus::Changed:
        attempt.status = Outcome::Changed;
        break;
    default:
        attempt.status = Outcome::Refused;
    }
    if (saved.status != SaveStatus::Saved)
        return attempt;
    for (const HeaderField& field : HeaderFieldTable)
        FUZZ_CHECK(saved.texts[field.index] == fitFieldText(texts[field.index], field));
    // What the save says to expect next is what a load now finds.
    FUZZ_CHECK(saved.expected.has_value() == expected.has_value());
    if (saved.expected) {
        const Result<LoadedHeader> now = LoadHeader(path);
        FUZZ_CHECK(now && now->fileSize == saved.expected->fileSize);
        FUZZ_CHECK(std::equal(saved.expected->bytes.begin() + HeaderStart,
                              saved.expected->bytes.end(), now->bytes.begin() + HeaderStart));
    }
    return attempt;
}

// Any of the fields, the checksum and the other header fields, a growth, and now and then bytes
// that run past the header.
Attempt writeHeaderEdit(FuzzedDataProvider& input, const std::string& path,
                        std::optional<ExpectedHeader> expected, const ImageLayout* given) {
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
    for (const HeaderField& field : HeaderInfoTable) {
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
    edit.wholeHeader = input.ConsumeBool();
    attempt.wholeHeader = edit.wholeHeader;
    edit.expected = std::move(expected);
    const Result<Written> written = WriteHeaderEdit(path, edit, given);
    FUZZ_CHECK(written.outcome() != Outcome::Done || written.problem().text().empty());
    attempt.status = written.outcome();
    return attempt;
}

// The file as a save of attempt in layout must leave it: grown first, then the span of the
// header the pieces make written where the row keeps it, with what the row's write redoes.
Bytes expectedFile(const Bytes& before, const Attempt& attempt, const ImageLayout& layout) {
    Bytes after = before;
    if (attempt.growth && attempt.growth->size > after.size())
        after.resize(attempt.growth->size, attempt.growth->fill);
    std::uint64_t begin = ChecksummedRegionStart;
    std::uint64_t end = 0;
    for (const HeaderPatch& piece : attempt.pieces) {
        if (!piece.bytes.empty()) {
            begin = std::min<std::uint64_t>(begin, piece.offset);
            end = std::max<std::uint64_t>(end, piece.offset + piece.bytes.size());
        }
    }
    if (end == 0)
        return after;
    Bytes image = after;
    image.resize(std::max(image.size(), ProbeSize), 0);
    for (const HeaderPatch& piece : attempt.pieces) {
        for (std::size_t k = 0; k < piece.bytes.size(); ++k)
            image[layout.fileOffset(piece.offset + k)] = static_cast<std::uint8_t>(piece.bytes[k]);
    }
    std::vector<FileRun> runs = HeaderRuns(layout, begin, end);
    if (layout.finishWrite)
        layout.finishWrite(std::span(image).first(ProbeSize), runs);
    const FileRun& last = runs.back();
    if (last.offset + last.length > after.size())
        after.resize(last.offset + last.length, 0);
    for (const FileRun& run : runs)
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(run.offset), run.length,
                    after.begin() + static_cast<std::ptrdiff_t>(run.offset));
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
    FuzzedDataProvider input(data + 3 + length, size - 3 - length);

    const bool typed = input.ConsumeBool();
    // The window saves in the layout recognised; the command line may name one.
    const auto rows = ImageLayouts();
    const std::size_t pick = typed ? 0 : input.ConsumeIntegralInRange<std::size_t>(0, rows.size());
    const ImageLayout* given = pick == 0 ? nullptr : rows[pick - 1];
    const Result<LoadedHeader> loaded = LoadHeader(path, given);
    FUZZ_CHECK(loaded.done());
    const LoadedHeader& header = *loaded;
    const ImageLayout& layout = *header.layout;
    const auto kind = static_cast<Expectation>(input.ConsumeIntegralInRange<int>(0, 2));
    const std::optional<ExpectedHeader> expected = expectation(input, kind, header);
    const bool readOnly = input.ConsumeBool() && input.ConsumeBool();
    if (readOnly)
        std::filesystem::permissions(path,
                                     std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);

    const Attempt attempt =
        typed ? saveHeader(input, path, expected) : writeHeaderEdit(input, path, expected, given);
    const Bytes after = test::readBytes(path);
    if (readOnly) {
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        FUZZ_CHECK(attempt.status != Outcome::Done && after == before);
        return 0;
    }
    // What must keep the file as it is, in the order a write looks at it.
    const bool changed = kind == Expectation::Other || (kind != Expectation::None && header.notRom);
    const bool refused = header.notRom || !layout.writeRefusal.empty() ||
                         (header.doubtful && !given) ||
                         (attempt.wholeHeader && before.size() < ChecksummedRegionStart);
    if (attempt.refusable)
        FUZZ_CHECK(attempt.status == Outcome::Refused);
    else if (changed)
        FUZZ_CHECK(attempt.status == Outcome::Changed);
    else if (refused)
        FUZZ_CHECK(attempt.status == Outcome::Refused);
    if (attempt.status != Outcome::Done) {
        // Only a row's own limits refuse beyond those.
        FUZZ_CHECK(attempt.status == Outcome::Refused || attempt.status == Outcome::Changed);
        FUZZ_CHECK(attempt.refusable || changed || refused || layout.refuseHeader ||
                   !layout.growthRefusal.empty());
        FUZZ_CHECK(after == before);
        return 0;
    }
    const Bytes wanted = expectedFile(before, attempt, layout);
    if (after != wanted) {
        // Where they part, to tell a misplaced byte from a wrong length.
        const auto parted = std::mismatch(after.begin(), after.end(), wanted.begin(), wanted.end());
        std::fprintf(stderr, "%zu bytes, %zu expected; they differ from 0x%zx\n", after.size(),
                     wanted.size(), static_cast<std::size_t>(parted.first - after.begin()));
    }
    FUZZ_CHECK(after == wanted);

    // Read back through the layout the file had, unless the bytes written made it another.
    const Result<LoadedHeader> reread = LoadHeader(path, given);
    FUZZ_CHECK(reread.done());
    if (reread->layout != &layout)
        return 0;
    for (const HeaderPatch& piece : attempt.pieces) {
        FUZZ_CHECK(
            std::equal(piece.bytes.begin(), piece.bytes.end(), reread->bytes.begin() + piece.offset,
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    }
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(
            reinterpret_cast<const char*>(reread->bytes.data()) + field.offset, field.length);
        FUZZ_CHECK(reread->texts[field.index] == bytes.substr(0, bytes.find('\0')));
    }
    return 0;
}
