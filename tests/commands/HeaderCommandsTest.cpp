// SPDX-License-Identifier: MIT
// Browse and Save on real files, with a window, a dialog and message boxes made of plain data.
#include "HeaderCommands.h"

#include "Fakes.h"
#include "HeaderFile.h"
#include "RomBuilder.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// The window's state, and how often each editor was set, to tell an untouched one.
struct FakeView : HeaderView {
    std::string path = "Select a ROM file.";
    std::array<std::u32string, HeaderFieldCount> fields{};
    std::array<int, HeaderFieldCount> fieldSets{};
    std::string checksum;
    std::string calculated;
    bool saveEnabled = false;

    std::string romPath() const override { return path; }
    void setRomPath(const std::string& value) override { path = value; }
    std::u32string fieldText(std::size_t index) const override { return fields.at(index); }
    void setFieldText(std::size_t index, const std::u32string& text) override {
        fields.at(index) = text;
        ++fieldSets.at(index);
    }
    std::string checksumText() const override { return checksum; }
    void setChecksumText(const std::string& text) override { checksum = text; }
    void setCalculatedChecksum(const std::string& text) override { calculated = text; }
    void setSaveEnabled(bool enabled) override { saveEnabled = enabled; }

    bool operator==(const FakeView& other) const {
        return path == other.path && fields == other.fields && checksum == other.checksum &&
               calculated == other.calculated && saveEnabled == other.saveEnabled;
    }
};

std::u32string padded(std::u32string text, std::size_t length) {
    text.resize(length, U' ');
    return text;
}

class HeaderCommandsTest : public ::testing::Test {
protected:
    TempDir m_dir;
    FakeView m_view;
    FakeFileDialog m_dialog;
    FakeMessageBox m_messages;
    HeaderCommands m_commands{m_view, m_dialog, m_messages};

    std::string romFile(const std::string& name, const Bytes& bytes) {
        const std::string path = m_dir.file(name);
        writeBytes(path, bytes);
        return path;
    }
    void browse(const std::optional<std::string>& answer) {
        m_dialog.answers.push_back(answer);
        m_commands.browse();
    }
};

TEST_F(HeaderCommandsTest, BrowseShowsTheHeaderAndSaveWritesTheEdits) {
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("game.bin", rom);
    browse(path);
    ASSERT_EQ(m_dialog.requests.size(), 1u);
    EXPECT_EQ(m_dialog.requests[0].title, "Select a ROM file");
    EXPECT_EQ(m_dialog.requests[0].filterDescription,
              "Genesis Binary ROM Files (*.BIN;*.GEN;*.32x)");
    EXPECT_EQ(m_dialog.requests[0].filterPatterns, "*.BIN;*.GEN;*.32x");
    EXPECT_EQ(m_dialog.requests[0].startPath, "");

    EXPECT_EQ(m_view.path, path);
    EXPECT_EQ(m_view.fields[0], U"SEGA MEGA DRIVE ");
    EXPECT_EQ(m_view.fields[3], U"OVERSEAS");
    EXPECT_EQ(m_view.fields[5], U"JUE");
    EXPECT_EQ(m_view.checksum, "8F1C");
    EXPECT_EQ(m_view.calculated, "8F1D");
    EXPECT_TRUE(m_view.saveEnabled);

    m_view.checksum = "8F1D";
    m_view.fields[3] = U"NEW NAME";
    m_view.fieldSets = {};
    m_commands.save();

    EXPECT_TRUE(m_messages.shown.empty());
    Bytes expected = rom;
    expected[0x18F] = 0x1D;
    setFieldBytes(expected, HeaderFieldTable[2], "DOMESTIC" + std::string(40, ' '));
    setFieldBytes(expected, HeaderFieldTable[3], "NEW NAME" + std::string(40, ' '));
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(m_view.fields[3], padded(U"NEW NAME", 48));
    EXPECT_EQ(m_view.fieldSets[0], 0); // already what the field holds
    EXPECT_EQ(m_view.checksum, "8F1D");
    EXPECT_TRUE(m_view.saveEnabled);

    browse(std::nullopt); // the next Browse starts on the file chosen last
    EXPECT_EQ(m_dialog.requests.back().startPath, path);
}

TEST_F(HeaderCommandsTest, CancellingChangesNothing) {
    const FakeView fresh = m_view;
    browse(std::nullopt);
    EXPECT_EQ(m_view, fresh);

    browse(romFile("game.bin", mismatchedRom()));
    m_view.fields[1] = U"unsaved edit";
    const FakeView edited = m_view;
    browse(std::nullopt);
    EXPECT_EQ(m_view, edited);
}

TEST_F(HeaderCommandsTest, ASecondRomReplacesEverythingShown) {
    browse(romFile("first.bin", mismatchedRom()));
    m_view.fields[2] = U"edit that is dropped";
    const std::string second = romFile("second.gen", Bytes(513, 0x41)); // no checksummed word
    m_commands.open(second);
    EXPECT_EQ(m_view.path, second);
    EXPECT_EQ(m_view.fields[2], std::u32string(48, U'A'));
    EXPECT_EQ(m_view.checksum, "4141");
    EXPECT_EQ(m_view.calculated, "0000");
    browse(std::nullopt); // a file opened without the dialog is where Browse starts too
    EXPECT_EQ(m_dialog.requests.back().startPath, second);
}

TEST_F(HeaderCommandsTest, InvalidChecksumShowsTheBoxAndWritesNothing) {
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("game.bin", rom);
    browse(path);
    m_view.fields[4] = U"changed";
    for (const char* invalid : {"", "0x1234", "12 3", "G1", "123456789", "\xC2\xB9"}) {
        m_messages.shown.clear();
        m_view.checksum = invalid;
        m_commands.save();
        ASSERT_EQ(m_messages.shown.size(), 1u) << invalid;
        EXPECT_EQ(m_messages.shown[0].title, "Invalid Checksum");
        EXPECT_EQ(m_messages.shown[0].text,
                  "Invalid checksum entered. Checksum must be in hexadecimal.");
        EXPECT_EQ(readBytes(path), rom);
        EXPECT_EQ(m_view.fields[4], U"changed");
    }
}

TEST_F(HeaderCommandsTest, SaveStoresTheChecksumAsTypedAndPadsShortTexts) {
    const std::string path = romFile("game.bin", mismatchedRom());
    browse(path);
    m_view.checksum = "1a2b";
    m_view.fields[5].clear();
    m_commands.save();
    const Bytes saved = readBytes(path);
    EXPECT_EQ(saved[0x18E], 0x1A);
    EXPECT_EQ(saved[0x18F], 0x2B);
    EXPECT_EQ(fieldBytes(saved, HeaderFieldTable[5]), "   ");
    EXPECT_EQ(m_view.fields[5], U"   ");
    EXPECT_EQ(m_view.checksum, "1a2b");

    m_commands.save(); // a second save writes the same bytes
    EXPECT_EQ(readBytes(path), saved);

    browse(path); // and a new load shows them, trailing spaces and upper case
    EXPECT_EQ(m_view.checksum, "1A2B");
    EXPECT_EQ(m_view.fields[2], padded(U"DOMESTIC", 48));
}

TEST_F(HeaderCommandsTest, AfterSaveEveryEditorShowsWhatItsFieldHolds) {
    browse(romFile("game.bin", mismatchedRom()));
    // Full length, but "Ж" has no byte and becomes "?"; too long, cut to the field; short,
    // padded; already what the file holds, left alone.
    m_view.fields[4] = U"GM 0000000\u0416-00";
    std::u32string lines;
    for (int line = 0; line < 3; ++line)
        lines += U"abcdefghijklmnop\r\n";
    m_view.fields[2] = lines;
    m_view.fields[5] = U"J";
    m_view.fieldSets = {};
    m_commands.save();
    EXPECT_EQ(m_view.fields[4], U"GM 0000000?-00");
    EXPECT_EQ(m_view.fields[2], lines.substr(0, 48));
    EXPECT_EQ(m_view.fields[5], U"J  ");
    EXPECT_EQ(m_view.fields[0], U"SEGA MEGA DRIVE ");
    EXPECT_EQ(m_view.fieldSets[0], 0);
}

TEST_F(HeaderCommandsTest, UnchangedRoundTripKeepsEveryByte) {
    // Two ROMs carry every byte value 1-255 across the six fields, CR, LF and 0xA0 included.
    for (std::uint32_t round = 0; round < 2; ++round) {
        Bytes rom = randomBytes(0x800, round);
        int value = round == 0 ? 1 : 146;
        for (const HeaderField& field : HeaderFieldTable) {
            for (std::size_t k = 0; k < field.length; ++k, ++value)
                rom[field.offset + k] = static_cast<std::uint8_t>((value - 1) % 255 + 1);
        }
        const std::string path = romFile("round" + std::to_string(round) + ".bin", rom);
        browse(path);
        m_commands.save();
        EXPECT_TRUE(m_messages.shown.empty());
        EXPECT_EQ(readBytes(path), rom);
    }
}

TEST_F(HeaderCommandsTest, ARomThatCannotBeReadIsReportedAndChangesNothing) {
    const FakeView fresh = m_view;
    const std::string missing = m_dir.file("gone.bin");
    browse(missing);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].title, "Cannot Read ROM");
    EXPECT_NE(m_messages.shown[0].text.find(missing), std::string::npos);
    EXPECT_EQ(m_view, fresh);

    browse(romFile("game.bin", mismatchedRom()));
    const FakeView loaded = m_view;
    std::filesystem::create_directory(m_dir.path() / "folder.bin");
    m_commands.open(m_dir.file("folder.bin"));
    // A byte-swapped image reads, but every pair of its letters the wrong way round.
    const std::string swapped = romFile("swapped.bin", byteSwap(mismatchedRom()));
    m_commands.open(swapped);
    ASSERT_EQ(m_messages.shown.size(), 3u);
    EXPECT_EQ(m_messages.shown[1].title, "Cannot Read ROM");
    EXPECT_EQ(m_messages.shown[2].title, "Cannot Read ROM");
    EXPECT_EQ(m_messages.shown[2].text.find(swapped + ": a byte-swapped image"), 0u);
    EXPECT_EQ(m_view, loaded);
}

// An interleaved copier image shows the texts of the ROM it holds, and a save writes each
// byte to its place in the image.
TEST_F(HeaderCommandsTest, AnInterleavedImageIsEditedInPlace) {
    Bytes plain = mismatchedRom();
    plain.resize(InterleavedBlockSize, 0);
    const std::string copier = romFile("copier.smd", interleave(plain));
    browse(copier);
    ASSERT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_view.fields[4], U"GM 00000001-00");
    EXPECT_EQ(m_view.checksum, "8F1C");
    m_view.fields[5] = U"E";
    m_view.checksum = "8F1D";
    m_commands.save();
    EXPECT_TRUE(m_messages.shown.empty());
    setFieldBytes(plain, HeaderFieldTable[2], "DOMESTIC" + std::string(40, ' '));
    setFieldBytes(plain, HeaderFieldTable[3], "OVERSEAS" + std::string(40, ' '));
    setFieldBytes(plain, HeaderFieldTable[5], "E  ");
    plain[0x18F] = 0x1D;
    EXPECT_EQ(readBytes(copier), interleave(plain));
}

TEST_F(HeaderCommandsTest, ASaveThatFailsIsReportedAndChangesNoEditor) {
    const std::string path = romFile("game.bin", mismatchedRom());
    browse(path);
    std::filesystem::remove(path);
    m_view.fields[5] = U"J";
    const FakeView before = m_view;
    m_commands.save();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].title, "Cannot Save ROM");
    EXPECT_NE(m_messages.shown[0].text.find(path), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path)); // never created afresh
    EXPECT_EQ(m_view, before);
}

} // namespace
