// SPDX-License-Identifier: MIT
// The editors' UTF-16 and the commands' code points.
#include "EditorText.h"

#include "CharacterSet.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::win32;

TEST(EditorTextTest, EveryCharacterRoundTrips) {
    std::string bytes;
    for (int byte = 1; byte <= 255; ++byte)
        bytes.push_back(static_cast<char>(byte));
    std::u32string text = decodeText(bytes) + U"\u0416\uFFFD\U0001F600";
    EXPECT_EQ(codePointsFromUtf16(utf16FromCodePoints(text)), text);
    EXPECT_EQ(utf16FromCodePoints(U"a\U0001F600"), u"a\xD83D\xDE00");
}

TEST(EditorTextTest, AnUnpairedSurrogateStaysOneCharacterAndSavesAsQuestionMark) {
    const std::u16string text{u'a', char16_t{0xD83D}, u'b', char16_t{0xDE00}};
    const std::u32string codePoints = codePointsFromUtf16(text);
    EXPECT_EQ(codePoints.size(), 4u);
    EXPECT_EQ(encodeText(codePoints), "a?b?");
}
