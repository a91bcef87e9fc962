// SPDX-License-Identifier: MIT
#include "HexText.h"

#include "HeaderInfo.h"
#include "HeaderLayout.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace quillon;

TEST(HeaderLayout, FieldsAreDisjointBelowTheChecksummedRegion) {
    struct Span {
        std::uint32_t begin, end;
    };
    std::vector<Span> spans{{ChecksumWord::offset, ChecksumWord::offset + ChecksumWord::length}};
    for (const HeaderField& field : HeaderFieldTable)
        spans.push_back({field.offset, field.offset + field.length});
    for (const HeaderField& field : HeaderInfoTable)
        spans.push_back({field.offset, field.offset + field.length});
    for (std::size_t a = 0; a < spans.size(); ++a) {
        EXPECT_LE(spans[a].end, ChecksummedRegionStart);
        EXPECT_GE(spans[a].begin, 0x100u);
        for (std::size_t b = a + 1; b < spans.size(); ++b)
            EXPECT_TRUE(spans[a].end <= spans[b].begin || spans[b].end <= spans[a].begin)
                << "spans " << a << " and " << b << " overlap";
    }
    const auto fieldBytes = std::accumulate(
        HeaderFieldTable.begin(), HeaderFieldTable.end(), 0u,
        [](std::uint32_t sum, const HeaderField& field) { return sum + field.length; });
    EXPECT_EQ(fieldBytes + ChecksumWord::length, 147u);
    EXPECT_EQ(HeaderWriteEnd, 0x1F3u);
}

TEST(HeaderLayout, IndexMatchesRow) {
    for (std::size_t row = 0; row < HeaderFieldTable.size(); ++row)
        EXPECT_EQ(HeaderFieldTable[row].index, row);
}

TEST(HexText, ToHexAndPadHex) {
    EXPECT_EQ(ToHex(0), "0");
    EXPECT_EQ(ToHex(0xA), "A");
    EXPECT_EQ(ToHex(0xFF), "FF");
    EXPECT_EQ(ToHex(0xBEEF), "BEEF");
    EXPECT_EQ(ToHex(0xFFFFFFFF), "FFFFFFFF");

    EXPECT_EQ(PadHex("7", 2), "07");
    EXPECT_EQ(PadHex("12345", 4), "2345");
    EXPECT_EQ(PadHex("", 2), "00");
    EXPECT_EQ(PadHex("", 4), "0000");
    EXPECT_EQ(PadHex("AB", 2), "AB");
    EXPECT_EQ(PadHex("AB", 0), "");
    EXPECT_EQ(PadHex("AB", -3), "");
}

TEST(HexText, FormatsChecksumsAsFourUpperCaseDigits) {
    EXPECT_EQ(FormatStoredChecksum(0, 0), "0000");
    EXPECT_EQ(FormatStoredChecksum(0xFF, 0x01), "FF01");
    EXPECT_EQ(FormatStoredChecksum(0x0A, 0x3F), "0A3F");
    EXPECT_EQ(FormatRomChecksum(0x00F2), "00F2");
    EXPECT_EQ(FormatRomChecksum(0), "0000");
    EXPECT_EQ(FormatRomChecksum(0xFFFF), "FFFF");
}

TEST(HexText, ParseChecksumEntryAcceptsHexDigitsOnly) {
    EXPECT_EQ(ParseChecksumEntry("1a2B"), 0x1A2Bu);
    EXPECT_EQ(ParseChecksumEntry("12345"), 0x12345u);
    EXPECT_EQ(ParseChecksumEntry("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseChecksumEntry("0"), 0u);
    // Blanks around the digits and leading zeros beyond eight digits are harmless.
    EXPECT_EQ(ParseChecksumEntry(" \t8F1D\t "), 0x8F1Du);
    EXPECT_EQ(ParseChecksumEntry("0000000000001234"), 0x1234u);
    EXPECT_EQ(ParseChecksumEntry("00FFFFFFFF"), 0xFFFFFFFFu);

    for (const char* invalid : {"", " ", "\t", "G1", "-1", "+1", "12 3", "123456789", "100000000",
                                "0x1234", "&H1234", "12\n", "\r12", "１２"})
        EXPECT_FALSE(ParseChecksumEntry(invalid)) << '"' << invalid << '"';
}

TEST(HexText, SplitChecksumKeepsTheLowSixteenBits) {
    EXPECT_EQ(SplitChecksum(0x1A2B), (ChecksumBytes{0x1A, 0x2B}));
    EXPECT_EQ(SplitChecksum(0xABCDE), (ChecksumBytes{0xBC, 0xDE}));
    EXPECT_EQ(SplitChecksum(0x12345), (ChecksumBytes{0x23, 0x45}));
    EXPECT_EQ(SplitChecksum(0xFFFFFFFF), (ChecksumBytes{0xFF, 0xFF}));
    EXPECT_EQ(SplitChecksum(0), (ChecksumBytes{0, 0}));
}
