// SPDX-License-Identifier: MIT
// UTF-8, the program's text everywhere, to and from the UTF-16 that Windows takes and gives.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Bytes that are not UTF-8 become U+FFFD, as do unpaired surrogates the other way round.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

} // namespace quillon
