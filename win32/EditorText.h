// SPDX-License-Identifier: MIT
// The Win32 controls' UTF-16 and the commands' code points. Kept free of windows.h so that it
// is tested on every system.
#pragma once

#include <string>
#include <string_view>

namespace quillon::win32 {

std::u16string utf16FromCodePoints(std::u32string_view text);

// A surrogate without its pair stays a code point of its own; the character set has no byte
// for it, so a save writes "?" as it does for any character without one.
std::u32string codePointsFromUtf16(std::u16string_view text);

} // namespace quillon::win32
