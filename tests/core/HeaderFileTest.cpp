// SPDX-License-Identifier: MIT
#include "HeaderFile.h"

#include "MemoryFile.h"
#include "RomBuilder.h"
#include "RomConversion.h"

#include <gtest/gtest.h>
#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace quillon;
using namespace quillon::test;

namespace quillon {
// A failing layout's test names it by its name, not its bytes.
void PrintTo(const ImageLayout* layout, std::ostream* out) { *out << layout->key; }
} // namespace quillon

namespace {

// Saves what was loaded, unchanged, as the window does when the user edits nothing.
void saveAsLoaded(const std::string& path) {
    const Result<LoadedHeader> loaded = LoadHeader(path);
    ASSERT_TRUE(loaded.done()) << loaded.problem().text();
    const SaveResult saved = SaveHeader(
        path, FormatStoredChecksum(loaded->storedHigh, loaded->storedLow), loaded->texts);
    ASSERT_EQ(saved.status, SaveStatus::Saved) << saved.error;
}

class PlainHeaderFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_path = m_dir.file("rom.bin");
};

// The tests of reading and writing a header run on plain ROMs and in every layout that is
// written, as its row lays a ROM out: a test works on the plain ROM, and the file holds it in
// the layout under test.
class HeaderFileTest : public PlainHeaderFileTest,
                       public ::testing::WithParamInterface<const ImageLayout*> {
protected:
    const ImageLayout& layout() const { return *GetParam(); }
    bool blocked() const { return layout().blockSize > 1; }

    // A ROM of at least size bytes, a whole number of the layout's blocks, whose console name
    // starts with "SEGA".
    Bytes romOf(std::size_t size, std::uint32_t seed) const {
        size = (size + layout().blockSize - 1) / layout().blockSize * layout().blockSize;
        Bytes rom = randomBytes(size, seed);
        setBytes(rom, headerField(FieldId::ConsoleName).offset, "SEGA");
        return rom;
    }
    Bytes imageOf(const Bytes& rom) const {
        Bytes image = layout().prefixFor(rom.size());
        const std::size_t prefix = image.size();
        image.resize(prefix + rom.size());
        layout().fromRomOrder(rom.data(), image.data() + prefix, rom.size());
        return image;
    }
    void writeRom(const Bytes& rom) { writeBytes(m_path, imageOf(rom)); }
    // The ROM the file holds; the prefix must be as it was written.
    Bytes readRom() {
        const Bytes file = readBytes(m_path);
        const Bytes prefix = layout().prefixFor(file.size() - layout().prefixSize);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(prefix.size())),
                  prefix);
        if (!layout().toRomOrder)
            return file;
        Bytes rom(file.size() - prefix.size());
        layout().toRomOrder(file.data() + prefix.size(), rom.data(), rom.size());
        return rom;
    }
};

std::vector<const ImageLayout*> writtenLayouts() {
    std::vector<const ImageLayout*> layouts;
    for (const ImageLayout* layout : ImageLayouts()) {
        if (layout->writeRefusal.empty() && !layout->discUserData) // discs: DiscLayoutTest
            layouts.push_back(layout);
    }
    return layouts;
}

} // namespace

TEST_P(HeaderFileTest, LoadsFieldsChecksumsAndSize) {
    Bytes rom = romOf(2 * InterleavedBlockSize + 0x400, 3);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGABCDEFGHIJKL ");
    setFieldBytes(rom, headerField(FieldId::Copyright), "ABC");
    setFieldBytes(rom, headerField(FieldId::DomesticName), "");
    setFieldBytes(rom, headerField(FieldId::OverseasName), std::string(48, 'x'));
    setFieldBytes(rom, headerField(FieldId::SerialNumber), std::string("GM\0XYZ", 6));
    setFieldBytes(rom, headerField(FieldId::CountryCode), "JUE");
    rom[0x18E] = 0x8F;
    rom[0x18F] = 0x1C;
    writeRom(rom);

    const Result<LoadedHeader> result = LoadHeader(m_path);
    ASSERT_TRUE(result.done()) << result.problem().text();
    const LoadedHeader& header = *result;
    EXPECT_EQ(header.layout, GetParam());
    const FieldTexts expected{"SEGABCDEFGHIJKL ", "ABC", "", std::string(48, 'x'), "GM", "JUE"};
    EXPECT_EQ(header.texts, expected);
    EXPECT_EQ(fieldBytes(Bytes(header.bytes.begin(), header.bytes.end()),
                         headerField(FieldId::SerialNumber)),
              std::string_view("GM\0XYZ\0\0\0\0\0\0\0\0", 14));
    EXPECT_EQ(header.storedHigh, 0x8F);
    EXPECT_EQ(header.storedLow, 0x1C);
    EXPECT_EQ(header.calculated, ComputeRomChecksum(rom.data(), rom.size()));
    EXPECT_EQ(header.romSize, rom.size());
    EXPECT_EQ(header.fileSize, imageOf(rom).size());
}

TEST_F(PlainHeaderFileTest, ShortFilesLoadWithTheirMissingBytesAsZeros) {
    writeBytes(m_path, {});
    Result<LoadedHeader> result = LoadHeader(m_path);
    ASSERT_TRUE(result.done()) << result.problem().text();
    EXPECT_EQ(result->texts, FieldTexts{});
    EXPECT_EQ(result->storedHigh + result->storedLow + result->calculated, 0);

    Bytes rom(398, 0xAB);
    std::fill_n(rom.begin(), 0x115, 'Q'); // ends five bytes into the copyright field
    writeBytes(m_path, rom);
    result = LoadHeader(m_path);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(result->texts[headerField(FieldId::ConsoleName).index], std::string(16, 'Q'));
    EXPECT_EQ(result->texts[headerField(FieldId::Copyright).index],
              "QQQQQ" + std::string(11, '\xAB'));
    EXPECT_EQ(result->texts[headerField(FieldId::CountryCode).index], "");
    EXPECT_EQ(result->storedHigh, 0);
    EXPECT_EQ(result->storedLow, 0);

    rom.push_back(0x5A); // 399 bytes: the checksum's high byte exists, its low byte does not
    writeBytes(m_path, rom);
    result = LoadHeader(m_path);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(result->storedHigh, 0x5A);
    EXPECT_EQ(result->storedLow, 0);
}

TEST_P(HeaderFileTest, SavePadsWithSpacesCutsLongTextsAndStoresTheChecksum) {
    const Bytes original = romOf(0x300, 4);
    writeRom(original);
    const FieldTexts texts{"SEGA", "ABC", std::string(60, 'L'), "Over\r\nseas", "GM 1", "U"};

    const SaveResult result = SaveHeader(m_path, "1234", texts);
    ASSERT_EQ(result.status, SaveStatus::Saved) << result.error;
    const FieldTexts written{"SEGA" + std::string(12, ' '), "ABC" + std::string(13, ' '),
                             std::string(48, 'L'),          "Over\r\nseas" + std::string(38, ' '),
                             "GM 1" + std::string(10, ' '), "U  "};
    EXPECT_EQ(result.texts, written);

    const Bytes saved = readRom();
    ASSERT_EQ(saved.size(), original.size());
    for (const HeaderField& field : HeaderFieldTable)
        EXPECT_EQ(fieldBytes(saved, field), written[field.index]);
    EXPECT_EQ(saved[0x18E], 0x12);
    EXPECT_EQ(saved[0x18F], 0x34);

    // A second save of the same input writes the same bytes.
    ASSERT_EQ(SaveHeader(m_path, "1234", texts).status, SaveStatus::Saved);
    EXPECT_EQ(readRom(), saved);

    // Only the low sixteen bits of a longer value are stored.
    ASSERT_EQ(SaveHeader(m_path, "abcde", texts).status, SaveStatus::Saved);
    EXPECT_EQ(readRom()[0x18E], 0xBC);
    EXPECT_EQ(readRom()[0x18F], 0xDE);
}

TEST_P(HeaderFileTest, InvalidChecksumWritesNothing) {
    const Bytes original = romOf(600, 5);
    writeRom(original);
    for (const char* checksum : {"", "0x1234", "12 3", "G1", "-1", "123456789"}) {
        const SaveResult result = SaveHeader(m_path, checksum, FieldTexts{"SEGA changed"});
        EXPECT_EQ(result.status, SaveStatus::InvalidChecksum) << checksum;
        EXPECT_EQ(readRom(), original) << checksum;
    }
}

TEST_P(HeaderFileTest, UnchangedRoundTripIsByteForByteForEveryNonZeroByte) {
    // Two ROMs spread the values 1-255 over the field bytes after the console name's "SEGA";
    // every header byte outside the fields holds a value too, to catch a write that strays.
    for (int rom = 0; rom < 2; ++rom) {
        Bytes bytes = romOf(0x1000, 10 + static_cast<std::uint32_t>(rom));
        int value = rom == 0 ? 1 : 142;
        for (const HeaderField& field : HeaderFieldTable) {
            for (std::size_t k = field.index == 0 ? 4 : 0; k < field.length; ++k, ++value)
                bytes[field.offset + k] = static_cast<std::uint8_t>((value - 1) % 255 + 1);
        }
        writeRom(bytes);
        saveAsLoaded(m_path);
        EXPECT_EQ(readRom(), bytes) << "ROM " << rom;
    }

    Bytes spaces = romOf(0x800, 12);
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(spaces, field,
                      field.index == 0 ? "SEGA" + std::string(12, ' ')
                                       : std::string(field.length, ' '));
    writeRom(spaces);
    saveAsLoaded(m_path);
    EXPECT_EQ(readRom(), spaces);
}

TEST_P(HeaderFileTest, UnchangedRoundTripTurnsZerosIntoSpacesFromTheFirstZeroOn) {
    Bytes rom = romOf(0x800, 13);
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(rom, field, field.index == 0 ? "SEGA" : "");
    setFieldBytes(rom, headerField(FieldId::DomesticName), std::string("AB\0CD", 5));
    writeRom(rom);
    saveAsLoaded(m_path);

    Bytes expected = rom;
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(expected, field, std::string(field.length, ' '));
    setFieldBytes(expected, headerField(FieldId::ConsoleName), "SEGA" + std::string(12, ' '));
    setFieldBytes(expected, headerField(FieldId::DomesticName), "AB" + std::string(46, ' '));
    EXPECT_EQ(readRom(), expected);
}

// Random ROMs, random edits: no byte outside the fields and the checksum word ever changes,
// a file of 499 bytes or more keeps its length, a shorter one grows to 499 with zeros.
TEST_P(HeaderFileTest, SaveChangesNoOtherByte) {
    std::mt19937 engine(20261207);
    std::vector<std::size_t> sizes{InterleavedBlockSize, 2 * InterleavedBlockSize, 4u << 20};
    if (!blocked())
        sizes.insert(sizes.end(), {0, 1, 100, 256, 398, 399, 400, 498, 499, 500, 512, 513, 514, 515,
                                   (3u << 20) + 1});
    for (std::size_t size : sizes) {
        Bytes original = randomBytes(size, static_cast<std::uint32_t>(engine()));
        if (blocked())
            setBytes(original, headerField(FieldId::ConsoleName).offset, "SEGA");
        writeRom(original);
        FieldTexts texts;
        for (ByteText& text : texts) {
            text.resize(engine() % 60);
            for (char& c : text)
                c = static_cast<char>(engine() % 255 + 1);
        }
        texts[headerField(FieldId::ConsoleName).index].replace(
            0, std::min<std::size_t>(4, texts[headerField(FieldId::ConsoleName).index].size()),
            "SEGA");
        const std::uint32_t checksum = engine();
        const SaveResult result = SaveHeader(m_path, ToHex(checksum), texts);
        ASSERT_EQ(result.status, SaveStatus::Saved) << result.error;

        const Bytes saved = readRom();
        ASSERT_EQ(saved.size(), std::max<std::size_t>(size, HeaderWriteEnd)) << size;
        for (std::size_t offset = 0; offset < saved.size(); ++offset) {
            if (isWritable(offset))
                continue;
            const std::uint8_t before = offset < size ? original[offset] : 0;
            ASSERT_EQ(saved[offset], before) << "size " << size << ", offset " << offset;
        }
        for (const HeaderField& field : HeaderFieldTable)
            EXPECT_EQ(fieldBytes(saved, field), fitFieldText(texts[field.index], field));
        EXPECT_EQ(saved[0x18E], SplitChecksum(checksum).high);
        EXPECT_EQ(saved[0x18F], SplitChecksum(checksum).low);
    }
}

TEST_P(HeaderFileTest, PartialEditLeavesOtherFieldsByteForByte) {
    Bytes rom = romOf(0x300, 14);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), std::string("SEGA\0\0MD", 8));
    writeRom(rom);
    HeaderEdit edit;
    edit.texts[headerField(FieldId::SerialNumber).index] = "GM 0001";
    edit.patches.push_back({0x1A4, "\x00\x07\xFF\xFF"});
    ASSERT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Done);

    Bytes expected = rom;
    setFieldBytes(expected, headerField(FieldId::SerialNumber), "GM 0001       ");
    setBytes(expected, 0x1A4, "\x00\x07\xFF\xFF");
    EXPECT_EQ(readRom(), expected);
}

// A save of the six texts and the checksum writes each run it makes in the file once: one in a
// plain image, the header's odd and even bytes in an interleaved one; no byte outside the
// fields changes.
TEST_P(HeaderFileTest, SaveWritesEachRunOnce) {
    const Bytes rom = romOf(0x400, 17);
    MemoryFile file(imageOf(rom));
    HeaderEdit edit;
    edit.checksum = SplitChecksum(0x1A2B);
    for (const HeaderField& field : HeaderFieldTable)
        edit.texts[field.index] = "SEGA " + std::to_string(field.index);
    ASSERT_EQ(WriteHeaderEdit(file, "rom", edit).outcome(), Outcome::Done);
    EXPECT_EQ(file.writes(), blocked() ? 2 : 1);

    writeBytes(m_path, file.bytes());
    Bytes expected = rom;
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(expected, field, fitFieldText(*edit.texts[field.index], field));
    setBytes(expected, ChecksumWord::offset, "\x1A\x2B");
    EXPECT_EQ(readRom(), expected);
}

// The 68000 vectors before a cartridge's header are never written, even by a patch that runs on
// into the header; one from the header's start is.
TEST_P(HeaderFileTest, APatchBeforeTheHeaderIsRefused) {
    const Bytes rom = romOf(0x300, 23);
    writeRom(rom);
    HeaderEdit edit;
    edit.texts[headerField(FieldId::SerialNumber).index] = "GM 0001";
    edit.patches.push_back({HeaderStart - 1, "\x4E\x71"});
    EXPECT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Refused);
    EXPECT_EQ(readRom(), rom);
    edit.patches.front().offset = HeaderStart;
    EXPECT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Done);
}

INSTANTIATE_TEST_SUITE_P(Layouts, HeaderFileTest, ::testing::ValuesIn(writtenLayouts()),
                         [](const auto& info) {
                             std::string name(info.param->key);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// On a short file only the bytes written decide how far it grows; padding grows it first.
TEST_F(PlainHeaderFileTest, ShortFilesGrowAsFarAsTheyAreWritten) {
    HeaderEdit edit;
    edit.texts[headerField(FieldId::SerialNumber).index] = "GM 0001";
    writeBytes(m_path, Bytes(10, 1));
    ASSERT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Done);
    EXPECT_EQ(readBytes(m_path).size(), 0x18Eu);

    // The padding between two fields written stays as it grew.
    edit.growth = Growth{0x1000, 0xFF};
    edit.texts[headerField(FieldId::ConsoleName).index] = "SEGA";
    writeBytes(m_path, Bytes(10, 1));
    ASSERT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Done);
    Bytes expected(0x1000, 0xFF);
    std::fill_n(expected.begin(), 10, 1);
    setFieldBytes(expected, headerField(FieldId::ConsoleName), "SEGA            ");
    setFieldBytes(expected, headerField(FieldId::SerialNumber), "GM 0001       ");
    EXPECT_EQ(readBytes(m_path), expected);
}

#ifndef _WIN32
// A file past 2 GiB loads through the fixed buffer: its size and sum use 64-bit offsets, and the
// process's memory stays small. Holes keep the file from taking disk space.
TEST_F(PlainHeaderFileTest, HugeFileLoadsInFlatMemory) {
    constexpr std::uint64_t twoGiB = std::uint64_t{1} << 31;
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::uint8_t tail[] = {0x12, 0x34, 0xFF}; // one word, then an unpaired byte
    ASSERT_EQ(::pwrite(fd, tail, sizeof tail, static_cast<off_t>(twoGiB)), 3);
    ASSERT_EQ(::close(fd), 0);

    const Result<LoadedHeader> result = LoadHeader(m_path);
    ASSERT_TRUE(result.done()) << result.problem().text();
    EXPECT_EQ(result->fileSize, twoGiB + 3);
    EXPECT_EQ(result->calculated, 0x1234);

    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 200 * 1024) << "peak resident kilobytes";
}
#endif

// An interleaved image is written through its layout, but never grown, nor robbed of the "SEGA"
// that tells it from a plain ROM when no copier's marks do; a byte-swapped image, an archive, and
// an image whose layout is in doubt are never written unless the layout is given.
TEST_F(PlainHeaderFileTest, ImagesInOtherLayoutsAreWrittenOnlyAsTheyCanBe) {
    Bytes rom = randomBytes(2 * InterleavedBlockSize, 15);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
    const Bytes image = interleave(rom);
    HeaderEdit grow;
    grow.growth = Growth{image.size() + InterleavedBlockSize, 0xFF};
    HeaderEdit renamed;
    renamed.texts[headerField(FieldId::ConsoleName).index] = "NOT THE NAME";
    Bytes doubtful = rom;
    setFieldBytes(doubtful, headerField(FieldId::ConsoleName), "NOT THE NAME");
    doubtful = interleave(doubtful);
    Bytes zip = rom;
    setFieldBytes(zip, headerField(FieldId::ConsoleName), "NOT THE NAME");
    std::copy_n("PK\x03\x04", 4, zip.begin());
    HeaderEdit serial;
    serial.texts[headerField(FieldId::SerialNumber).index] = "GM 0001";
    for (const auto& [bytes, edit] :
         {std::pair{image, grow}, std::pair{image, renamed}, std::pair{byteSwap(rom), serial},
          std::pair{doubtful, serial}, std::pair{zip, serial}}) {
        writeBytes(m_path, bytes);
        const Result<Written> result = WriteHeaderEdit(m_path, edit);
        EXPECT_EQ(result.outcome(), Outcome::Refused) << result.problem().text();
        EXPECT_EQ(readBytes(m_path), bytes);
    }
    // Named, the layout in doubt is written as asked.
    writeBytes(m_path, doubtful);
    ASSERT_EQ(WriteHeaderEdit(m_path, serial, &InterleavedLayout).outcome(), Outcome::Done);
    EXPECT_EQ(fieldBytes(deinterleave(readBytes(m_path)), headerField(FieldId::SerialNumber)),
              "GM 0001       ");
}

// Each layout is told from the probe and the size alone: a plain ROM by "SEGA" at 0x100, other
// formats by their first bytes, an interleaved image by its size (sure with the copier's marks or
// "SEGA" put back in order), a byte-swapped one by its header read with each pair swapped.
TEST_F(PlainHeaderFileTest, LayoutsAreToldApart) {
    Bytes rom = randomBytes(2 * InterleavedBlockSize, 16);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
    const Bytes image = interleave(rom);
    const auto recognised = [](const Bytes& bytes) {
        return RecogniseImage({bytes.data(), std::min(bytes.size(), ProbeSize)}, bytes.size());
    };
    const auto layoutOf = [&](const Bytes& bytes) { return recognised(bytes).layout; };
    EXPECT_EQ(layoutOf(rom), &PlainLayout);
    EXPECT_EQ(layoutOf(image), &InterleavedLayout);
    EXPECT_EQ(recognised(image).verdict, Verdict::Sure);
    EXPECT_EQ(layoutOf(byteSwap(rom)), &ByteSwappedLayout);
    Bytes shifted = rom; // " SEGA" swapped reads "S AEG": still told
    setFieldBytes(shifted, headerField(FieldId::ConsoleName), " SEGA GENESIS");
    EXPECT_EQ(layoutOf(byteSwap(shifted)), &ByteSwappedLayout);

    // The plain reading has "SEGA" one byte in: a plain ROM, whatever its first block holds.
    Bytes plain = image;
    std::copy_n("xSEGA", 5, plain.begin() + 0x100);
    EXPECT_EQ(layoutOf(plain), &PlainLayout);
    // Without "SEGA" either way its size alone makes it interleaved, in doubt unless the
    // copier's marks are there; one byte longer or shorter, it cannot be interleaved at all.
    Bytes unnamed = rom;
    setFieldBytes(unnamed, headerField(FieldId::ConsoleName), "NOT THE NAME");
    Bytes marked = interleave(unnamed);
    EXPECT_EQ(layoutOf(marked), &InterleavedLayout);
    EXPECT_EQ(recognised(marked).verdict, Verdict::Doubtful);
    marked[8] = 0xAA;
    marked[9] = 0xBB;
    EXPECT_EQ(recognised(marked).verdict, Verdict::Sure);
    for (const std::size_t size : {image.size() - 1, image.size() + 1}) {
        Bytes resized = image;
        resized.resize(size);
        EXPECT_EQ(layoutOf(resized), &PlainLayout) << size;
    }
    // Every known other format, though its size would make it interleaved.
    for (const NonRomFormat& format : NonRomFormats()) {
        Bytes other = interleave(unnamed);
        std::copy(format.magic.begin(), format.magic.end(),
                  other.begin() + static_cast<std::ptrdiff_t>(format.offset));
        EXPECT_EQ(recognised(other).notRom, &format) << format.name;
    }
}

// A size of an odd number of 512-byte units need not end on a block: the last piece of one is
// no part of the ROM, which a load sums and sizes without it and a conversion refuses to guess.
TEST_F(PlainHeaderFileTest, AnInterleavedImageLeavesOutALastPieceOfABlock) {
    Bytes rom = randomBytes(2 * InterleavedBlockSize, 18);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
    Bytes image = interleave(rom);
    image.resize(image.size() + 1024, 0x77);
    writeBytes(m_path, image);
    const Result<LoadedHeader> result = LoadHeader(m_path);
    ASSERT_TRUE(result.done()) << result.problem().text();
    EXPECT_EQ(result->layout, &InterleavedLayout);
    EXPECT_EQ(result->romSize, rom.size());
    EXPECT_EQ(result->fileSize, image.size());
    EXPECT_EQ(result->calculated, ComputeRomChecksum(rom.data(), rom.size()));
    EXPECT_EQ(ConvertRom(m_path, m_dir.file("out.bin"), PlainLayout, false).outcome(),
              Outcome::Refused);
}
