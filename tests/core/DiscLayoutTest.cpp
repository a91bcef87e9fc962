// SPDX-License-Identifier: MIT
// Mega-CD disc images, ISO and raw, built here: read at the first sector's user data, edited in
// place with the raw sector's EDC and parities made anew, and never grown or summed.
#include "CdSectorTestSupport.h"
#include "HeaderFile.h"
#include "RomConversion.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

struct DiscCase {
    const ImageLayout* layout;
    bool raw;
};

void PrintTo(const DiscCase& disc, std::ostream* out) { *out << disc.layout->key; }

class DiscLayoutTest : public ::testing::TestWithParam<DiscCase> {
protected:
    TempDir m_dir;
    std::string m_path = m_dir.file("disc.img");
    std::size_t userData() const { return GetParam().raw ? RawUserDataOffset : 0; }
    Bytes image() const { return discImage(discUserData(), GetParam().raw); }
};

} // namespace

TEST_P(DiscLayoutTest, IsRecognisedAndReadAtTheFirstSectorsUserData) {
    Bytes disc = image();
    setBytes(disc, userData() + ChecksumWord::offset, "\x12\x34");
    writeBytes(m_path, disc);
    const Result<LoadedHeader> loaded = LoadHeader(m_path);
    ASSERT_TRUE(loaded.done()) << loaded.problem().text();
    const LoadedHeader& header = *loaded;
    EXPECT_EQ(header.layout, GetParam().layout);
    EXPECT_EQ(header.texts[headerField(FieldId::ConsoleName).index], "SEGA MEGA DRIVE ");
    EXPECT_EQ(header.texts[headerField(FieldId::CountryCode).index], "U  ");
    EXPECT_EQ(header.storedHigh, 0x12);
    EXPECT_EQ(header.storedLow, 0x34);
    EXPECT_FALSE(CalculatedChecksum(header));
    Bytes expected = discUserData();
    setBytes(expected, ChecksumWord::offset, "\x12\x34");
    EXPECT_EQ(header.discUserData, expected);
    EXPECT_EQ(header.firstSectorCheck.has_value(), GetParam().raw);
}

TEST_P(DiscLayoutTest, AnEditChangesOnlyItsFieldsAndTheSectorsEdcAndEcc) {
    const Bytes before = image();
    writeBytes(m_path, before);
    HeaderEdit edit;
    edit.texts[headerField(FieldId::OverseasName).index] = "A NEW OVERSEAS NAME";
    edit.checksum = ChecksumBytes{0xAB, 0xCD};
    const Result<Written> written = WriteHeaderEdit(m_path, edit);
    ASSERT_EQ(written.outcome(), Outcome::Done) << written.problem().text();

    const Bytes after = readBytes(m_path);
    ASSERT_EQ(after.size(), before.size());
    const HeaderField& name = headerField(FieldId::OverseasName);
    const std::size_t nameAt = userData() + name.offset;
    const std::size_t checksumAt = userData() + ChecksumWord::offset;
    constexpr std::size_t edc = 2064; // the EDC, the zeros and both parities to the sector's end
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool edited = (i >= nameAt && i < nameAt + name.length) ||
                            (i >= checksumAt && i < checksumAt + 2) ||
                            (GetParam().raw && i >= edc && i < RawSectorSize);
        if (!edited) {
            ASSERT_EQ(after[i], before[i]) << "at " << i;
        }
    }
    EXPECT_EQ(std::string(after.begin() + static_cast<std::ptrdiff_t>(nameAt),
                          after.begin() + static_cast<std::ptrdiff_t>(nameAt + name.length)),
              fitFieldText("A NEW OVERSEAS NAME", name));
    EXPECT_EQ(after[checksumAt], 0xAB);
    EXPECT_EQ(after[checksumAt + 1], 0xCD);
    if (GetParam().raw) {
        RawSector sector;
        std::copy_n(after.begin(), sector.size(), sector.begin());
        const SectorCheck check = CheckMode1Sector(sector);
        EXPECT_TRUE(check.edcOk && check.eccOk);
    }
}

TEST_P(DiscLayoutTest, NeverGrowsNorConverts) {
    const Bytes disc = image();
    writeBytes(m_path, disc);
    HeaderEdit edit;
    edit.growth = Growth{disc.size() + 1, 0};
    EXPECT_EQ(WriteHeaderEdit(m_path, edit).outcome(), Outcome::Refused);
    const Result<Converted> converted =
        ConvertRom(m_path, m_dir.file("out.bin"), PlainLayout, false, nullptr);
    EXPECT_EQ(converted.outcome(), Outcome::Refused);
    EXPECT_EQ(readBytes(m_path), disc);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("out.bin")));
}

INSTANTIATE_TEST_SUITE_P(Discs, DiscLayoutTest,
                         ::testing::Values(DiscCase{&Disc2048Layout, false},
                                           DiscCase{&Disc2352Layout, true}));

// A cue sheet is read through its data track's file, which a set writes; the sheet never is.
TEST(CueSheetImageTest, ASheetsDataTrackIsReadAndWrittenAndAModeTwoTrackOnlyRead) {
    TempDir dir;
    const Bytes disc = discImage(discUserData(), true);
    writeBytes(dir.file("disc.bin"), disc);
    const std::string sheet = "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n"
                              "    INDEX 01 00:00:00\r\n";
    writeBytes(dir.file("disc.cue"), Bytes(sheet.begin(), sheet.end()));
    const Result<LoadedHeader> loaded = LoadHeader(dir.file("disc.cue"));
    ASSERT_TRUE(loaded.done()) << loaded.problem().text();
    EXPECT_EQ(loaded->layout, &Disc2352Layout);
    EXPECT_EQ(loaded->texts[headerField(FieldId::DomesticName).index],
              fitFieldText("QUILLON TEST ROM", headerField(FieldId::DomesticName)));

    HeaderEdit edit;
    edit.texts[headerField(FieldId::DomesticName).index] = "NEW";
    ASSERT_EQ(WriteHeaderEdit(dir.file("disc.cue"), edit).outcome(), Outcome::Done);
    EXPECT_EQ(readBytes(dir.file("disc.cue")), Bytes(sheet.begin(), sheet.end()));
    const Bytes written = readBytes(dir.file("disc.bin"));
    EXPECT_EQ(written[RawUserDataOffset + headerField(FieldId::DomesticName).offset], 'N');
    RawSector sector;
    std::copy_n(written.begin(), sector.size(), sector.begin());
    EXPECT_TRUE(CheckMode1Sector(sector).edcOk);

    const std::string modeTwo = "FILE disc.bin BINARY\n TRACK 01 MODE2/2352\n INDEX 01 00:00:00\n";
    writeBytes(dir.file("disc.cue"), Bytes(modeTwo.begin(), modeTwo.end()));
    ASSERT_TRUE(LoadHeader(dir.file("disc.cue")).done());
    const Result<Written> refused = WriteHeaderEdit(dir.file("disc.cue"), edit);
    EXPECT_EQ(refused.outcome(), Outcome::Refused);
    EXPECT_NE(refused.problem().text().find("Mode 2"), std::string::npos)
        << refused.problem().text();
    EXPECT_EQ(readBytes(dir.file("disc.bin")), written);
}
