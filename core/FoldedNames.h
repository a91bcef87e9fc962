// SPDX-License-Identifier: MIT
// File names compared as the program tells their kinds: by their ending, in any case of the
// ASCII letters (".CUE" is a cue sheet as ".cue" is), bytes beyond ASCII as they are.
#pragma once

#include <algorithm>
#include <string_view>

namespace quillon {

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Whether name ends in suffix, which is given in lower case.
constexpr bool endsWithFolded(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(),
                      [](char a, char b) { return a == lowerAscii(b); });
}

} // namespace quillon
