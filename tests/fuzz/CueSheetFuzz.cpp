// SPDX-License-Identifier: MIT
// Any text as a cue sheet: a data track found is one the readers take, and the sheet reads the
// same with CR LF line ends.
#include "CueSheet.h"
#include "FuzzSupport.h"

#include <string_view>

using namespace quillon;

namespace {

bool sameReading(const Result<CueDataTrack>& a, const Result<CueDataTrack>& b) {
    if (a.done() != b.done())
        return false;
    if (!a)
        return a.problem().reason == b.problem().reason;
    return a->file == b->file && a->mode == b->mode && a->sectorSize == b->sectorSize &&
           a->userDataOffset == b->userDataOffset && a->byteOffset == b->byteOffset;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Result<CueDataTrack> reading = ReadCueSheet(text);
    FUZZ_CHECK(reading || !reading.problem().reason.empty());
    if (reading) {
        const CueDataTrack& track = *reading;
        const bool cooked = track.mode == "MODE1/2048";
        FUZZ_CHECK(cooked || track.mode == "MODE1/2352" || track.mode == "MODE2/2352");
        FUZZ_CHECK(track.sectorSize == (cooked ? 2048u : 2352u));
        FUZZ_CHECK(track.userDataOffset == (cooked ? 0u : 16u));
        FUZZ_CHECK(track.byteOffset % track.sectorSize == 0);
        FUZZ_CHECK(!track.file.empty() && track.file.find('\n') == std::string::npos);
        FUZZ_CHECK(text.find(track.file) != std::string_view::npos);
    }

    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    FUZZ_CHECK(sameReading(reading, ReadCueSheet(crlf)));
    return 0;
}
