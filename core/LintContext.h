// SPDX-License-Identifier: MIT
// What the lint rules' checks and mends read of a header, worked out once.
#pragma once

#include "HeaderFile.h"
#include "HeaderInfo.h"
#include "RegionCodes.h"

#include <cstdint>
#include <optional>

namespace quillon {

struct LintContext {
    const LoadedHeader& header;
    const HeaderBytes& bytes;
    bool complete;              // the file holds the whole header
    std::uint64_t romEndInFile; // the last byte of the ROM as the file has it
    bool ssf;                   // the console name asks for the extended mapper
    std::uint32_t romStart, romEnd, ramStart, ramEnd;
    std::optional<ExtraMemory> memory;
    RegionReading region;
};

} // namespace quillon
