// SPDX-License-Identifier: MIT
#include "NearestName.h"

#include "FoldedNames.h"

#include <algorithm>
#include <numeric>

namespace quillon::cli {

namespace {

// The name as it is compared: without its dashes, in lower case.
std::string comparable(std::string_view name) {
    name.remove_prefix(std::min(name.find_first_not_of('-'), name.size()));
    std::string text(name);
    std::transform(text.begin(), text.end(), text.begin(), lowerAscii);
    return text;
}

// The fewest insertions, deletions, changes and swaps of two neighbours that make a into b.
std::size_t editDistance(const std::string& a, const std::string& b) {
    // Three rows of the table: the one before the last, the last, and the one being filled.
    std::vector<std::size_t> older(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    std::iota(last.begin(), last.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], older[j - 2] + 1);
        }
        older.swap(last);
        last.swap(row);
    }
    return last[b.size()];
}

} // namespace

std::vector<std::string> nearestNames(std::string_view typed, std::span<const std::string> names) {
    const std::string wanted = comparable(typed);
    std::vector<std::string> found;
    if (wanted.size() >= 2) {
        for (const std::string& name : names) {
            if (comparable(name).starts_with(wanted))
                found.push_back(name);
        }
    }
    if (!found.empty())
        return found;
    std::size_t best = std::max<std::size_t>(1, wanted.size() / 3);
    for (const std::string& name : names) {
        const std::string other = comparable(name);
        const std::size_t distance = editDistance(wanted, other);
        // A name that shares no letter's place with what was typed is no likely meaning of it.
        if (distance > best || distance >= other.size())
            continue;
        if (distance < best)
            found.clear();
        best = distance;
        found.push_back(name);
    }
    return found;
}

std::string didYouMean(const std::vector<std::string>& names) {
    if (names.empty())
        return {};
    std::string text = "did you mean ";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text + "?";
}

} // namespace quillon::cli
