// SPDX-License-Identifier: MIT
// What the commands do beyond what the windows' shared contract sees (tests/window): with a
// window, a dialog and message boxes made of plain data, on real files.
#include "HeaderCommands.h"

#include "CdSectorTestSupport.h"
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

// An editor that already shows what its field now holds is left alone, so it keeps its cursor
// and its undo history; the others are given the written text.
TEST_F(HeaderCommandsTest, SaveSetsOnlyTheEditorsWhoseFieldsDifferFromThem) {
    browse(romFile("game.bin", mismatchedRom()));
    m_view.fields[0] = U"SEGA GENESIS    "; // the field's full length
    m_view.fields[5] = U"J";
    m_view.fieldSets = {};
    m_commands.save();
    EXPECT_EQ(m_view.fieldSets[0], 0);
    EXPECT_EQ(m_view.fields[5], U"J  ");
    EXPECT_EQ(m_view.fieldSets[5], 1);
}

TEST_F(HeaderCommandsTest, AFolderOrAByteSwappedImageOrAnArchiveIsReportedAndChangesNothing) {
    browse(romFile("game.bin", mismatchedRom()));
    const FakeView loaded = m_view;
    std::filesystem::create_directory(m_dir.path() / "folder.bin");
    m_commands.open(m_dir.file("folder.bin"));
    // A byte-swapped image reads, but every pair of its letters the wrong way round.
    const std::string swapped = romFile("swapped.bin", byteSwap(mismatchedRom()));
    m_commands.open(swapped);
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[0].title, "Cannot Read ROM");
    EXPECT_EQ(m_messages.shown[1].title, "Cannot Read ROM");
    EXPECT_EQ(m_messages.shown[1].text.find(swapped + ": a byte-swapped image"), 0u);
    Bytes zip = mismatchedRom();
    setFieldBytes(zip, headerField(FieldId::ConsoleName), "");
    std::copy_n("PK\x03\x04", 4, zip.begin());
    const std::string archive = romFile("roms.zip", zip);
    m_commands.open(archive);
    ASSERT_EQ(m_messages.shown.size(), 3u);
    EXPECT_EQ(m_messages.shown[2].text, archive + ": a ZIP archive, not a ROM image.");
    EXPECT_EQ(m_view, loaded);
}

// An image that may be interleaved or plain shows as the readers read it, and is not saved.
TEST_F(HeaderCommandsTest, AnImageInDoubtIsShownButNotSaved) {
    Bytes plain = mismatchedRom();
    plain.resize(InterleavedBlockSize, 0);
    setFieldBytes(plain, headerField(FieldId::ConsoleName), "HOMEBREW");
    const std::string copier = romFile("copier.smd", interleave(plain));
    browse(copier);
    ASSERT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_view.fields[4], U"GM 00000001-00");
    m_commands.save();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].title, "Cannot Save ROM");
    EXPECT_EQ(m_messages.shown[0].text.find(copier + ": may be an interleaved copier image"), 0u);
    EXPECT_EQ(readBytes(copier), interleave(plain));
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
    setFieldBytes(plain, headerField(FieldId::DomesticName), "DOMESTIC" + std::string(40, ' '));
    setFieldBytes(plain, headerField(FieldId::OverseasName), "OVERSEAS" + std::string(40, ' '));
    setFieldBytes(plain, headerField(FieldId::CountryCode), "E  ");
    plain[0x18F] = 0x1D;
    EXPECT_EQ(readBytes(copier), interleave(plain));
}

// A save writes every editor, so over a header changed since the open it would put back what
// the editors still show: it writes nothing then, nor when only the length changed, which makes
// the calculated checksum shown stale. Its own saves, a short file's growth among them, are no
// change.
TEST_F(HeaderCommandsTest, ASaveOverAFileChangedSinceItWasOpenedWritesNothing) {
    const std::string path = romFile("game.bin", mismatchedRom());
    for (const std::string& saved : {romFile("short.bin", Bytes(0x150, 0x41)), path}) {
        browse(saved);
        m_view.fields[5] = U"E";
        m_commands.save();
        m_view.fields[5] = U"J";
        m_commands.save();
    }
    ASSERT_TRUE(m_messages.shown.empty());

    Bytes fixed = readBytes(path);
    fixed[ChecksumWord::offset + 1] = 0x1D;
    Bytes padded = readBytes(path);
    padded.resize(padded.size() + 2, 0);
    const FakeView before = m_view;
    for (const Bytes& onDisk : {fixed, padded}) {
        writeBytes(path, onDisk);
        m_commands.save();
        EXPECT_EQ(readBytes(path), onDisk);
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0].title, "File Changed");
        EXPECT_EQ(m_messages.shown[0].text.find(path + " changed on disk since it was loaded"), 0u);
        EXPECT_EQ(m_view, before);
        m_messages.shown.clear();
    }
    m_commands.open(path);
    m_commands.save();
    EXPECT_TRUE(m_messages.shown.empty());
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

// A disc shows its texts and stored checksum, none calculated, and Save writes its header with
// the raw sector's EDC and parities made anew.
TEST_F(HeaderCommandsTest, ADiscOpensWithNoCalculatedChecksumAndSavesItsSectorWhole) {
    const Bytes disc = discImage(discUserData(), true);
    const std::string path = romFile("disc.bin", disc);
    browse(path);
    EXPECT_EQ(m_view.fields[0], U"SEGA MEGA DRIVE ");
    EXPECT_EQ(m_view.checksum, "0000");
    EXPECT_EQ(m_view.calculated, "----");
    m_view.fields[2] = U"NEW";
    m_commands.save();
    EXPECT_TRUE(m_messages.shown.empty());
    const Bytes after = readBytes(path);
    RawSector sector;
    std::copy_n(after.begin(), sector.size(), sector.begin());
    const SectorCheck check = CheckMode1Sector(sector);
    EXPECT_TRUE(check.edcOk && check.eccOk);
    EXPECT_EQ(std::string(after.begin() + RawUserDataOffset + 0x120,
                          after.begin() + RawUserDataOffset + 0x124),
              "NEW ");
    EXPECT_TRUE(
        std::equal(after.begin() + RawSectorSize, after.end(), disc.begin() + RawSectorSize));
}
