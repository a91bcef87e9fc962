// SPDX-License-Identifier: MIT
#include "CharacterSet.h"

#include <gtest/gtest.h>
#include <set>

using namespace quillon;

TEST(CharacterSet, EveryByteHasItsOwnCharacterAndMapsBack) {
    std::set<char32_t> seen;
    for (int byte = 0; byte <= 255; ++byte) {
        const char32_t character = decodeByte(static_cast<std::uint8_t>(byte));
        EXPECT_TRUE(seen.insert(character).second) << "byte " << byte << " shares a character";
        EXPECT_EQ(encodeCharacter(character), byte);
    }
}

TEST(CharacterSet, IsWindows1252WithTheGapsFilled) {
    EXPECT_EQ(decodeByte('A'), U'A');
    EXPECT_EQ(decodeByte(0x0D), U'\r');
    EXPECT_EQ(decodeByte(0x80), U'\u20AC');
    EXPECT_EQ(decodeByte(0x85), U'\u2026');
    EXPECT_EQ(decodeByte(0x99), U'\u2122');
    EXPECT_EQ(decodeByte(0x9F), U'\u0178');
    EXPECT_EQ(decodeByte(0xA0), U'\u00A0');
    EXPECT_EQ(decodeByte(0xE9), U'\u00E9');
    for (std::uint8_t gap : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(decodeByte(gap), static_cast<char32_t>(gap));
}

TEST(CharacterSet, CharactersWithoutAByteBecomeQuestionMarks) {
    // C1 controls that Windows-1252 gives to printable characters have no byte of their own.
    EXPECT_FALSE(encodeCharacter(U'\u0080'));
    EXPECT_FALSE(encodeCharacter(U'\u0099'));
    EXPECT_FALSE(encodeCharacter(U'\u2028'));
    EXPECT_FALSE(encodeCharacter(U'\U0001F600'));
    EXPECT_EQ(encodeText(U"Caf\u00E9 \u20AC5 \u2713 \U0001F600"), "Caf\xE9 \x80"
                                                                  "5 ? ?");
    EXPECT_EQ(decodeText("Caf\xE9 \x80"), U"Caf\u00E9 \u20AC");
}
