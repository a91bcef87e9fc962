// SPDX-License-Identifier: MIT
// How the command line takes and gives each kind of header field: one row a kind, so that set's
// options, show's lines and its JSON run one loop over the field table.
#pragma once

#include "FieldValues.h"
#include "HeaderFile.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace quillon::cli {

using Json = nlohmann::ordered_json;

struct FieldKindRow {
    FieldKind kind;
    std::string_view typeName; // the value's name in set's help
    std::string (*help)(const HeaderField& field);
    Result<ByteText> (*parse)(std::string_view typed, const HeaderField& field);
    // The value as show prints it; bytes past the end of a short file are said to be missing.
    std::string (*show)(const LoadedHeader& header, const HeaderField& field);
    // The value's members of show's JSON object.
    void (*json)(Json& object, const LoadedHeader& header, const HeaderField& field);
};

const FieldKindRow& fieldKind(FieldKind kind);

} // namespace quillon::cli
