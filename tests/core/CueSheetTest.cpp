// SPDX-License-Identifier: MIT
#include "CueSheet.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct CueCase {
    std::string_view name;
    std::string_view sheet;
    // The track expected, or the start of the problem expected when file is empty.
    std::string_view file;
    std::string_view mode;
    std::uint32_t sectorSize;
    std::uint32_t userDataOffset;
    std::uint64_t byteOffset;
    std::string_view problem = {};
};

const CueCase CueCases[] = {
    {"redump style",
     "FILE \"Game (USA) (Track 01).bin\" BINARY\n  TRACK 01 MODE1/2352\n"
     "    INDEX 01 00:00:00\nFILE \"Game (USA) (Track 02).bin\" BINARY\n"
     "  TRACK 02 AUDIO\n    INDEX 00 00:00:00\n    INDEX 01 00:02:00\n",
     "Game (USA) (Track 01).bin", "MODE1/2352", 2352, 16, 0},
    {"iso track, CR LF, BOM, lower case",
     "\xEF\xBB\xBF"
     "file \"game.iso\" binary\r\n  track 01 mode1/2048\r\n    index 01 00:00:00\r\n",
     "game.iso", "MODE1/2048", 2048, 0, 0},
    {"unquoted name with a space",
     "FILE my game.bin MOTOROLA\nTRACK 01 MODE2/2352\nINDEX 01 00:00:00\n", "my game.bin",
     "MODE2/2352", 2352, 16, 0},
    // Every field of the time counts: ((1*60+2)*75+3) frames of 2352 bytes.
    {"offset from INDEX 01, REM, PREGAP and INDEX 00 ignored",
     "REM GENRE Game\nFILE \"a.bin\" BINARY\nTRACK 01 MODE1/2352\nPREGAP 00:02:00\n"
     "INDEX 00 00:00:00\nINDEX 01 01:02:03\n",
     "a.bin", "MODE1/2352", 2352, 16, 4653 * 2352ull},
    {"minutes past 99", "FILE a.iso BINARY\nTRACK 01 MODE1/2048\nINDEX 01 100:00:00\n", "a.iso",
     "MODE1/2048", 2048, 0, 450000 * 2048ull},
    {"TRACK 01 in the FILE of its INDEX 01",
     "FILE \"gap.bin\" BINARY\nTRACK 01 MODE1/2352\nINDEX 00 00:00:00\nFILE \"data.bin\" BINARY\n"
     "INDEX 01 00:00:00\n",
     "data.bin", "MODE1/2352", 2352, 16, 0},

    {"no FILE",
     "TRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "no FILE before TRACK 01"},
    {"no TRACK 01",
     "FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "no TRACK 01"},
    {"empty", "", {}, {}, 0, 0, 0, "no TRACK 01"},
    {"audio first",
     "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "TRACK 01 is AUDIO"},
    {"unknown mode",
     "FILE a.bin BINARY\nTRACK 01 MODE2/2336\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "TRACK 01 has mode MODE2/2336"},
    {"data in a WAVE file",
     "FILE a.wav WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "TRACK 01 is in a WAVE file"},
    {"no INDEX 01",
     "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 00 00:00:00\nTRACK 02 AUDIO\n"
     "INDEX 01 00:02:00\n",
     {},
     {},
     0,
     0,
     0,
     "TRACK 01 has no INDEX 01"},
    {"seconds out of range",
     "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:60:00\n",
     {},
     {},
     0,
     0,
     0,
     "line 3: an INDEX line"},
    {"frames out of range",
     "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:75\n",
     {},
     {},
     0,
     0,
     0,
     "line 3: an INDEX line"},
    {"time too short",
     "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00\n",
     {},
     {},
     0,
     0,
     0,
     "line 3: an INDEX line"},
    {"time not a number",
     "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:0x:00\n",
     {},
     {},
     0,
     0,
     0,
     "line 3: an INDEX line"},
    {"unclosed quote",
     "FILE \"a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "line 1: a FILE line"},
    {"FILE without a type",
     "FILE \"a.bin\"\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
     {},
     {},
     0,
     0,
     0,
     "line 1: a FILE line"},
};

} // namespace

TEST(CueSheet, ReadsTheDataTrackOrSaysWhyNot) {
    for (const CueCase& c : CueCases) {
        SCOPED_TRACE(c.name);
        const Result<CueDataTrack> reading = ReadCueSheet(c.sheet);
        if (c.file.empty()) {
            ASSERT_FALSE(reading);
            const std::string& why = reading.problem().reason;
            EXPECT_EQ(why.substr(0, c.problem.size()), c.problem) << why;
            continue;
        }
        ASSERT_TRUE(reading) << reading.problem().reason;
        EXPECT_EQ(reading->file, c.file);
        EXPECT_EQ(reading->mode, c.mode);
        EXPECT_EQ(reading->sectorSize, c.sectorSize);
        EXPECT_EQ(reading->userDataOffset, c.userDataOffset);
        EXPECT_EQ(reading->byteOffset, c.byteOffset);
    }
}

// What a walk leaves to a sheet: every FILE it names, the data track's among them; the redump
// sheet names its audio track's too.
TEST(CueSheet, NamesEveryFile) {
    for (const CueCase& c : CueCases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> names = CueSheetFileNames(c.sheet);
        if (!c.file.empty()) {
            EXPECT_NE(std::find(names.begin(), names.end(), c.file), names.end());
        }
    }
    EXPECT_EQ(CueSheetFileNames(CueCases[0].sheet),
              (std::vector<std::string>{"Game (USA) (Track 01).bin", "Game (USA) (Track 02).bin"}));
}
