// SPDX-License-Identifier: MIT
// Headers a few bytes away from a clean one, each with the lint rules it makes fire: the lint
// rules are tested on them, and so are the fixes those rules' findings carry.
#pragma once

#include "CdSector.h"
#include "HeaderFile.h"
#include "ImageLayout.h"
#include "RomBuilder.h"

#include <set>
#include <string>
#include <vector>

namespace quillon::test {

using namespace std::string_literals;

struct Edit {
    std::uint32_t offset;
    std::string bytes;
};

struct LintCase {
    const char* what;
    std::vector<Edit> edits;
    std::set<std::string> ids; // the rules that fire
    std::size_t size = 0x20000;
    const ImageLayout* layout = &PlainLayout;
    const NonRomFormat* notRom = nullptr;
    SectorCheck sector{true, true}; // of a raw disc's first sector
};

inline const LintCase lintCases[] = {
    {"a clean header", {}, {}},
    {"no trademark", {{0x100, "SAGA"}}, {"tmss"}},
    {"the trademark after a space", {{0x100, " SEGA GENESIS   "}}, {}},
    {"a stored checksum that differs", {{0x18E, "\x12\x34"}}, {"checksum"}},
    {"the ROM starting past 0", {{0x1A0, "\x00\x00\x02\x00"s}}, {"rom-start"}},
    {"the ROM ending early", {{0x1A4, "\x00\x00\xFF\xFF"s}}, {"rom-end-short"}},
    {"SGDK's default ROM end", {{0x1A4, "\x00\x0F\xFF\xFF"s}}, {"rom-end-beyond"}},
    {"the SSF mapper's window", {{0x100, "SEGA SSF"}, {0x1A4, "\x00\x3F\xFF\xFF"s}}, {}},
    {"an end past 4 MiB", {{0x1A4, "\x00\x7F\xFF\xFF"s}}, {"rom-end-beyond", "rom-end-flat"}},
    {"an end past 4 MiB with the SSF mapper",
     {{0x100, "SEGA SSF"}, {0x1A4, "\x00\x7F\xFF\xFF"s}},
     {"rom-end-beyond"}},
    {"half the work RAM", {{0x1AC, "\x00\xFF\x7F\xFF"s}}, {"ram-range"}},
    {"the work RAM's mirror", {{0x1A8, "\xE0\xFF\x00\x00\xE0\xFF\xFF\xFF"s}}, {}},
    {"save RAM on odd bytes", {{0x1B0, "RA\xF8\x20\x00\x20\x00\x01\x00\x20\xFF\xFF"s}}, {}},
    {"save RAM on even bytes", {{0x1B0, "RA\xF0\x20\x00\x20\x00\x00\x00\x20\xFF\xFE"s}}, {}},
    {"save RAM on whole words", {{0x1B0, "RA\xE0\x20\x00\x20\x00\x00\x00\x20\xFF\xFF"s}}, {}},
    {"SGDK's default save RAM: odd bytes by type, words by address",
     {{0x1B0, "RA\xF8\x20\x00\x20\x00\x00\x00\x20\xFF\xFF"s}},
     {"extra-memory"}},
    {"malformed type bytes",
     {{0x1B0, "RA\x12\x34\x00\x20\x00\x01\x00\x20\xFF\xFF"s}},
     {"extra-memory"}},
    {"save RAM that ends before it starts",
     {{0x1B0, "RA\xF8\x20\x00\x20\xFF\xFF\x00\x20\x00\x01"s}},
     {"extra-memory"}},
    {"save RAM over 64 KiB",
     {{0x1B0, "RA\xE0\x20\x00\x20\x00\x00\x00\x21\xFF\xFF"s}},
     {"extra-memory"}},
    {"save RAM inside the ROM",
     {{0x1B0, "RA\xE0\x20\x00\x01\x00\x00\x00\x01\xFF\xFF"s}},
     {"extra-memory"}},
    {"neither RA nor blank", {{0x1B0, "XY"}}, {"extra-memory-unknown"}},
    {"a region name", {{0x1F0, "USA"}}, {"region-name"}},
    {"a region name running past three bytes", {{0x1F0, "EUROPE"}}, {"region-name"}},
    {"no region", {{0x1F0, "   "}}, {"region-empty"}},
    {"a letter no reader knows", {{0x1F0, "JX "}}, {"region-unknown"}},
    {"lower-case letters", {{0x1F0, "jue"}}, {"region-unknown"}},
    {"a lone E", {{0x1F0, "E  "}}, {"region-ambiguous"}},
    {"W for every region", {{0x1F0, "W  "}}, {"region-ambiguous"}},
    {"a mask older readers take for Brazil", {{0x1F0, "4  "}}, {"region-ambiguous"}},
    {"a mask with the Asia bit", {{0x1F0, "2  "}}, {"region-ambiguous"}},
    {"a mask all readers agree on", {{0x1F0, "5  "}}, {}},
    {"an unknown device", {{0x190, "JD"}}, {"device-unknown"}},
    {"known devices", {{0x190, "J6C0"}}, {}},
    {"a copyright without a month", {{0x110, "(C)SGDK 2024    "}}, {"copyright-format"}},
    {"a serial without digits", {{0x180, "GM XXXXXXXX-XX"}}, {"serial-format"}},
    {"a zero byte inside a name", {{0x125, "\0"s}}, {"text-control"}},
    {"a line break in the memo", {{0x1C8, "\r\n"}}, {"text-control"}},
    {"an odd size", {}, {"odd-size"}, 0x20001},
    {"a file too short for a header", {}, {"short-file"}, 0x1FF},
    {"a byte-swapped image",
     {{0x100, "ESAGM GE ARDVI E"}},
     {"byte-swapped"},
     0x20000,
     &ByteSwappedLayout},
    {"a ZIP archive", {}, {"not-a-rom"}, 0x20000, &PlainLayout, &NonRomFormats()[0]},
    // A disc: the case's bytes are its first sector's user data.
    {"a disc, its checksum and ROM end no cartridge's",
     {{0x18E, "\x12\x34"}, {0x1A4, "\0\0\0\0"s}, {0x1F0, "U  "}, {0x20B, "\x7A"}},
     {},
     0x20001,
     &Disc2352Layout},
    {"a disc whose letters and security program disagree",
     {{0x1F0, "J  "}, {0x20B, "\x7A"}},
     {"disc-region"},
     0x20000,
     &Disc2048Layout},
    {"a raw disc's stale EDC",
     {{0x1F0, "U  "}, {0x20B, "\x7A"}},
     {"disc-sector"},
     0x20000,
     &Disc2352Layout,
     nullptr,
     {false, true}},
    {"a CD32X disc",
     {{0x100, "SEGA 32X        "}, {0x1F0, "U  "}, {0x20B, "\x7A"}},
     {"disc-cd32x"},
     0x20000,
     &Disc2352Layout},
};

// A clean ROM of the case's size with its edits made: the bytes of its file, for a plain one.
inline Bytes lintCaseRom(const LintCase& test) {
    Bytes rom = randomBytes(std::max<std::size_t>(test.size, ChecksummedRegionStart), 5);
    writeCleanHeader(rom);
    for (const Edit& edit : test.edits)
        setBytes(rom, edit.offset, edit.bytes);
    rom.resize(test.size);
    return rom;
}

} // namespace quillon::test
