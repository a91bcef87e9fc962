// SPDX-License-Identifier: MIT
// The one thing a header editor needs from a cue sheet: where the data track of a Mega-CD image
// lies and how its sectors are laid out.
#pragma once

#include "Outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The data track a Mega-CD cue sheet names: TRACK 01, in the FILE in effect at its INDEX 01.
struct CueDataTrack {
    std::string file; // the FILE name as written (quotes removed), relative to the sheet
    std::string mode; // as written, upper-cased: "MODE1/2048", "MODE1/2352", "MODE2/2352"
    std::uint32_t sectorSize = 0;     // 2048 or 2352
    std::uint32_t userDataOffset = 0; // 0 for MODE1/2048, 16 for MODE1/2352 and MODE2/2352
    std::uint64_t byteOffset = 0; // where the track's first sector (INDEX 01) starts in the file
};

// Keywords in any case, lines ending in LF or CR LF, a UTF-8 byte order mark at the start. The
// track, or the reason there is none: "no FILE before TRACK 01", "TRACK 01 is AUDIO", ...
Result<CueDataTrack> ReadCueSheet(std::string_view text);

// The name of every FILE line, in the sheet's order, audio files too; lines that are no FILE
// line a reader takes are passed over.
std::vector<std::string> CueSheetFileNames(std::string_view text);

// Whether a path names a cue sheet: it ends in ".cue", in any case.
bool IsCueSheetPath(std::string_view path);

} // namespace quillon
