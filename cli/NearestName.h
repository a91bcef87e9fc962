// SPDX-License-Identifier: MIT
// What a mistyped command or option was most likely meant to be, for a usage error to name.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cli {

// The names typed could stand for, in the order given: every one it begins (at least two
// letters of it, "--countr" for --country-code), else those fewest single-letter edits away
// (an insertion, a deletion, a change, two neighbours swapped), a third of its letters at most.
// Case and leading dashes do not count. None when nothing is that near.
std::vector<std::string> nearestNames(std::string_view typed, std::span<const std::string> names);

// "did you mean a?", "did you mean a or b?", or nothing for no names.
std::string didYouMean(const std::vector<std::string>& names);

} // namespace quillon::cli
