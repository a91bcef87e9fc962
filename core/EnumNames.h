// SPDX-License-Identifier: MIT
// An enumeration's names as one table in the enumeration's order, so that a value finds its
// name by its place and no switch spells them out again.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quillon {

template <typename Enum> struct EnumName {
    Enum value;
    std::string_view name;
};

template <typename Enum, std::size_t Count> class EnumNames {
public:
    // A row out of the enumeration's order fails the build of a constexpr table.
    constexpr explicit EnumNames(const std::array<EnumName<Enum>, Count>& rows) : m_rows(rows) {
        for (std::size_t i = 0; i < Count; ++i) {
            if (static_cast<std::size_t>(m_rows[i].value) != i)
                throw "EnumNames: a row out of the enumeration's order";
        }
    }

    constexpr std::string_view name(Enum value) const {
        return m_rows.at(static_cast<std::size_t>(value)).name;
    }

private:
    std::array<EnumName<Enum>, Count> m_rows;
};

} // namespace quillon
