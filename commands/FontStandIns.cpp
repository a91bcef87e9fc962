// SPDX-License-Identifier: MIT
#include "FontStandIns.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

struct FontKind {
    bool fixedPitch;
    std::array<std::string_view, 3> families;
};

constexpr std::array<FontKind, 2> fontKinds{{
    {false, {"Tahoma", "Liberation Sans", "DejaVu Sans"}},
    {true, {"Courier New", "Liberation Mono", "DejaVu Sans Mono"}},
}};

} // namespace

FontChoice fontFor(std::string_view formFamily) {
    const auto known = std::ranges::find_if(fontKinds, [&](const FontKind& kind) {
        return std::ranges::find(kind.families, formFamily) != kind.families.end();
    });
    const FontKind& kind = known != fontKinds.end() ? *known : fontKinds.front();
    FontChoice choice{kind.fixedPitch, {formFamily}};
    for (std::string_view family : kind.families) {
        if (family != formFamily)
            choice.families.push_back(family);
    }
    return choice;
}

} // namespace quillon
