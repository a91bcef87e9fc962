// SPDX-License-Identifier: MIT
// The editors' UTF-16 and the commands' code points where the window contract cannot reach: a
// surrogate without its pair. Every byte's character, and characters beyond the BMP, go through
// the editors in the contract.
#include "EditorText.h"

#include "CharacterSet.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::win32;

TEST(EditorTextTest, AnUnpairedSurrogateStaysOneCharacterAndSavesAsQuestionMark) {
    const std::u16string text{u'a', char16_t{0xD83D}, u'b', char16_t{0xDE00}};
    const std::u32string codePoints = codePointsFromUtf16(text);
    EXPECT_EQ(codePoints.size(), 4u);
    EXPECT_EQ(encodeText(codePoints), "a?b?");
}
