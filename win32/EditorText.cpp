// SPDX-License-Identifier: MIT
#include "EditorText.h"

namespace quillon::win32 {

namespace {

constexpr char32_t firstSupplementary = 0x10000;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

} // namespace

std::u16string utf16FromCodePoints(std::u32string_view text) {
    std::u16string utf16;
    utf16.reserve(text.size());
    for (const char32_t codePoint : text) {
        if (codePoint < firstSupplementary || codePoint > 0x10FFFF) {
            utf16.push_back(codePoint > 0x10FFFF ? u'\uFFFD' : static_cast<char16_t>(codePoint));
            continue;
        }
        const char32_t offset = codePoint - firstSupplementary;
        utf16.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
        utf16.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    }
    return utf16;
}

std::u32string codePointsFromUtf16(std::u16string_view text) {
    std::u32string codePoints;
    codePoints.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            codePoints.push_back(firstSupplementary + ((char32_t{unit} - 0xD800) << 10) +
                                 (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else {
            codePoints.push_back(unit);
        }
    }
    return codePoints;
}

} // namespace quillon::win32
