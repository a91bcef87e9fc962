// SPDX-License-Identifier: MIT
#include "HeaderFile.h"

#include "RomBuilder.h"

#include <gtest/gtest.h>
#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace quillon;
using namespace quillon::test;

namespace {

// Saves what was loaded, unchanged, as the window does when the user edits nothing.
void saveAsLoaded(const std::string& path) {
    const LoadResult loaded = LoadHeader(path);
    ASSERT_TRUE(loaded.header) << loaded.error;
    const SaveResult saved =
        SaveHeader(path, FormatStoredChecksum(loaded.header->storedHigh, loaded.header->storedLow),
                   loaded.header->texts);
    ASSERT_EQ(saved.status, SaveStatus::Saved) << saved.error;
}

class HeaderFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_path = m_dir.file("rom.bin");
};

} // namespace

TEST_F(HeaderFileTest, LoadsFieldsChecksumsAndSize) {
    Bytes rom = randomBytes(0x400, 3);
    setFieldBytes(rom, HeaderFieldTable[0], "ABCDEFGHIJKLMNO ");
    setFieldBytes(rom, HeaderFieldTable[1], "ABC");
    setFieldBytes(rom, HeaderFieldTable[2], "");
    setFieldBytes(rom, HeaderFieldTable[3], std::string(48, 'x'));
    setFieldBytes(rom, HeaderFieldTable[4], std::string("GM\0XYZ", 6));
    setFieldBytes(rom, HeaderFieldTable[5], "JUE");
    rom[0x18E] = 0x8F;
    rom[0x18F] = 0x1C;
    writeBytes(m_path, rom);

    const LoadResult result = LoadHeader(m_path);
    ASSERT_TRUE(result.header) << result.error;
    const LoadedHeader& header = *result.header;
    const FieldTexts expected{"ABCDEFGHIJKLMNO ", "ABC", "", std::string(48, 'x'), "GM", "JUE"};
    EXPECT_EQ(header.texts, expected);
    EXPECT_EQ(fieldBytes(Bytes(header.bytes.begin(), header.bytes.end()), HeaderFieldTable[4]),
              std::string_view("GM\0XYZ\0\0\0\0\0\0\0\0", 14));
    EXPECT_EQ(header.storedHigh, 0x8F);
    EXPECT_EQ(header.storedLow, 0x1C);
    EXPECT_EQ(header.calculated, ComputeRomChecksum(rom.data(), rom.size()));
    EXPECT_EQ(header.fileSize, rom.size());
}

TEST_F(HeaderFileTest, ShortFilesLoadWithTheirMissingBytesAsZeros) {
    writeBytes(m_path, {});
    LoadResult result = LoadHeader(m_path);
    ASSERT_TRUE(result.header) << result.error;
    EXPECT_EQ(result.header->texts, FieldTexts{});
    EXPECT_EQ(result.header->storedHigh + result.header->storedLow + result.header->calculated, 0);

    Bytes rom(398, 0xAB);
    std::fill_n(rom.begin(), 0x115, 'Q'); // ends five bytes into the copyright field
    writeBytes(m_path, rom);
    result = LoadHeader(m_path);
    ASSERT_TRUE(result.header);
    EXPECT_EQ(result.header->texts[0], std::string(16, 'Q'));
    EXPECT_EQ(result.header->texts[1], "QQQQQ" + std::string(11, '\xAB'));
    EXPECT_EQ(result.header->texts[5], "");
    EXPECT_EQ(result.header->storedHigh, 0);
    EXPECT_EQ(result.header->storedLow, 0);

    rom.push_back(0x5A); // 399 bytes: the checksum's high byte exists, its low byte does not
    writeBytes(m_path, rom);
    result = LoadHeader(m_path);
    ASSERT_TRUE(result.header);
    EXPECT_EQ(result.header->storedHigh, 0x5A);
    EXPECT_EQ(result.header->storedLow, 0);
}

TEST_F(HeaderFileTest, SavePadsWithSpacesCutsLongTextsAndStoresTheChecksum) {
    const Bytes original = randomBytes(0x300, 4);
    writeBytes(m_path, original);
    const FieldTexts texts{"", "ABC", std::string(60, 'L'), "Over\r\nseas", "GM 1", "U"};

    const SaveResult result = SaveHeader(m_path, "1234", texts);
    ASSERT_EQ(result.status, SaveStatus::Saved) << result.error;
    const FieldTexts written{std::string(16, ' '),          "ABC" + std::string(13, ' '),
                             std::string(48, 'L'),          "Over\r\nseas" + std::string(38, ' '),
                             "GM 1" + std::string(10, ' '), "U  "};
    EXPECT_EQ(result.texts, written);

    const Bytes saved = readBytes(m_path);
    ASSERT_EQ(saved.size(), original.size());
    for (const HeaderField& field : HeaderFieldTable)
        EXPECT_EQ(fieldBytes(saved, field), written[field.index]);
    EXPECT_EQ(saved[0x18E], 0x12);
    EXPECT_EQ(saved[0x18F], 0x34);

    // A second save of the same input writes the same bytes.
    ASSERT_EQ(SaveHeader(m_path, "1234", texts).status, SaveStatus::Saved);
    EXPECT_EQ(readBytes(m_path), saved);

    // Only the low sixteen bits of a longer value are stored.
    ASSERT_EQ(SaveHeader(m_path, "abcde", texts).status, SaveStatus::Saved);
    EXPECT_EQ(readBytes(m_path)[0x18E], 0xBC);
    EXPECT_EQ(readBytes(m_path)[0x18F], 0xDE);
}

TEST_F(HeaderFileTest, InvalidChecksumWritesNothing) {
    const Bytes original = randomBytes(600, 5);
    writeBytes(m_path, original);
    for (const char* checksum : {"", "0x1234", "12 3", "G1", "-1", "123456789"}) {
        const SaveResult result = SaveHeader(m_path, checksum, FieldTexts{"changed"});
        EXPECT_EQ(result.status, SaveStatus::InvalidChecksum) << checksum;
        EXPECT_EQ(readBytes(m_path), original) << checksum;
    }
}

TEST_F(HeaderFileTest, UnchangedRoundTripIsByteForByteForEveryNonZeroByte) {
    // Two ROMs spread the values 1-255 over the 145 field bytes; every header byte outside the
    // fields holds a value too, to catch a write that strays.
    for (int rom = 0; rom < 2; ++rom) {
        Bytes bytes = randomBytes(0x1000, 10 + static_cast<std::uint32_t>(rom));
        int value = rom == 0 ? 1 : 146;
        for (const HeaderField& field : HeaderFieldTable) {
            for (std::size_t k = 0; k < field.length; ++k, ++value)
                bytes[field.offset + k] = static_cast<std::uint8_t>((value - 1) % 255 + 1);
        }
        writeBytes(m_path, bytes);
        saveAsLoaded(m_path);
        EXPECT_EQ(readBytes(m_path), bytes) << "ROM " << rom;
    }

    Bytes spaces = randomBytes(0x800, 12);
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(spaces, field, std::string(field.length, ' '));
    writeBytes(m_path, spaces);
    saveAsLoaded(m_path);
    EXPECT_EQ(readBytes(m_path), spaces);
}

TEST_F(HeaderFileTest, UnchangedRoundTripTurnsZerosIntoSpacesFromTheFirstZeroOn) {
    Bytes rom = randomBytes(0x800, 13);
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(rom, field, "");
    setFieldBytes(rom, HeaderFieldTable[2], std::string("AB\0CD", 5));
    writeBytes(m_path, rom);
    saveAsLoaded(m_path);

    Bytes expected = rom;
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(expected, field, std::string(field.length, ' '));
    setFieldBytes(expected, HeaderFieldTable[2], "AB" + std::string(46, ' '));
    EXPECT_EQ(readBytes(m_path), expected);
}

// Random ROMs, random edits: no byte outside the fields and the checksum word ever changes,
// a file of 499 bytes or more keeps its length, a shorter one grows to 499 with zeros.
TEST_F(HeaderFileTest, SaveChangesNoOtherByte) {
    std::mt19937 engine(20261207);
    std::vector<std::size_t> sizes{0,   1,   100, 256, 398, 399, 400,
                                   498, 499, 500, 512, 513, 514, 515};
    sizes.push_back((3u << 20) + 1);
    sizes.push_back(4u << 20);
    for (std::size_t size : sizes) {
        const Bytes original = randomBytes(size, static_cast<std::uint32_t>(engine()));
        writeBytes(m_path, original);
        FieldTexts texts;
        for (ByteText& text : texts) {
            text.resize(engine() % 60);
            for (char& c : text)
                c = static_cast<char>(engine() % 255 + 1);
        }
        const std::uint32_t checksum = engine();
        const SaveResult result = SaveHeader(m_path, ToHex(checksum), texts);
        ASSERT_EQ(result.status, SaveStatus::Saved) << result.error;

        const Bytes saved = readBytes(m_path);
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

TEST_F(HeaderFileTest, PartialEditLeavesOtherFieldsByteForByte) {
    Bytes rom = randomBytes(0x300, 14);
    setFieldBytes(rom, HeaderFieldTable[0], std::string("SEGA\0\0MD", 8));
    writeBytes(m_path, rom);
    HeaderEdit edit;
    edit.texts[4] = "GM 0001";
    ASSERT_EQ(WriteHeaderEdit(m_path, edit).status, WriteStatus::Written);

    Bytes expected = rom;
    setFieldBytes(expected, HeaderFieldTable[4], "GM 0001       ");
    EXPECT_EQ(readBytes(m_path), expected);

    // On a short file only the fields written decide how far it grows.
    writeBytes(m_path, Bytes(10, 1));
    ASSERT_EQ(WriteHeaderEdit(m_path, edit).status, WriteStatus::Written);
    EXPECT_EQ(readBytes(m_path).size(), 0x18Eu);
}

#ifndef _WIN32
// A file past 2 GiB loads through the fixed buffer: its size and sum use 64-bit offsets, and the
// process's memory stays small. Holes keep the file from taking disk space.
TEST_F(HeaderFileTest, HugeFileLoadsInFlatMemory) {
    constexpr std::uint64_t twoGiB = std::uint64_t{1} << 31;
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::uint8_t tail[] = {0x12, 0x34, 0xFF}; // one word, then an unpaired byte
    ASSERT_EQ(::pwrite(fd, tail, sizeof tail, static_cast<off_t>(twoGiB)), 3);
    ASSERT_EQ(::close(fd), 0);

    const LoadResult result = LoadHeader(m_path);
    ASSERT_TRUE(result.header) << result.error;
    EXPECT_EQ(result.header->fileSize, twoGiB + 3);
    EXPECT_EQ(result.header->calculated, 0x1234);

    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 200 * 1024) << "peak resident kilobytes";
}
#endif

// An interleaved copier image loads as the ROM it holds and is never written; a plain ROM of the
// same length stays plain.
TEST_F(HeaderFileTest, InterleavedImagesLoadInOrderAndAreNeverWritten) {
    Bytes rom = randomBytes(2 * InterleavedBlockSize, 15);
    setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
    setFieldBytes(rom, HeaderFieldTable[3], "OVERSEAS");
    const Bytes image = interleave(rom);
    writeBytes(m_path, image);

    const LoadResult loaded = LoadHeader(m_path);
    ASSERT_TRUE(loaded.header) << loaded.error;
    EXPECT_TRUE(loaded.header->interleaved);
    EXPECT_EQ(loaded.header->texts[3], "OVERSEAS");
    EXPECT_EQ(loaded.header->storedHigh, rom[0x18E]);
    EXPECT_EQ(loaded.header->calculated, ComputeRomChecksum(rom.data(), rom.size()));
    EXPECT_EQ(loaded.header->fileSize, image.size());
    EXPECT_EQ(loaded.header->romSize, rom.size());

    const SaveResult saved = SaveHeader(m_path, "1234", loaded.header->texts);
    EXPECT_EQ(saved.status, SaveStatus::Failed);
    EXPECT_NE(saved.error.find("interleaved"), std::string::npos) << saved.error;
    HeaderEdit edit;
    edit.texts[5] = "JUE";
    EXPECT_EQ(WriteHeaderEdit(m_path, edit).status, WriteStatus::Refused);
    EXPECT_EQ(readBytes(m_path), image);

    // The plain reading has "SEGA" one byte in: a plain ROM, whatever its first block holds.
    Bytes plain = image;
    std::copy_n("xSEGA", 5, plain.begin() + 0x100);
    writeBytes(m_path, plain);
    EXPECT_FALSE(LoadHeader(m_path).header->interleaved);
    // Without "SEGA" either way it is plain too; and one byte longer or shorter, it cannot be
    // an interleaved image at all.
    setFieldBytes(rom, HeaderFieldTable[0], "NOT THE NAME");
    writeBytes(m_path, interleave(rom));
    EXPECT_FALSE(LoadHeader(m_path).header->interleaved);
    for (const std::size_t size : {image.size() - 1, image.size() + 1}) {
        Bytes resized = image;
        resized.resize(size);
        writeBytes(m_path, resized);
        EXPECT_FALSE(LoadHeader(m_path).header->interleaved) << size;
    }
}
