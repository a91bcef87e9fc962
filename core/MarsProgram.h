// SPDX-License-Identifier: MIT
// What a 32X cartridge must carry before its console name counts: the 32X starts only a ROM
// whose 68000 program begins with Sega's initial program, the user header it reads at 0x3C0 and
// the security program at 0x400-0x7FF. The security program is Sega's code: it is recognised
// here by its CRC-32 (and by the text rom-properties looks for in it), never by its bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

inline constexpr std::uint32_t MarsAreaStart = 0x3C0; // the user header
inline constexpr std::uint32_t MarsAreaEnd = 0x800;   // past the security program
inline constexpr std::uint32_t SecurityProgramStart = 0x400;
inline constexpr std::uint32_t SecurityProgramSize = 0x400;

// The ROM's bytes from MarsAreaStart to MarsAreaEnd, zeros past the end of a short ROM.
using MarsArea = std::array<std::uint8_t, MarsAreaEnd - MarsAreaStart>;

// The user header, 48 big-endian bytes (rom-properties md_structs.h
// _32X_SecurityProgram_UserHeader).
struct MarsUserField {
    std::string_view key;   // in machine-readable output
    std::string_view label; // for people
    std::uint32_t offset;   // in the ROM
    std::uint32_t length;   // 16 for the module name, 4 for the numbers
};

inline constexpr std::array<MarsUserField, 9> MarsUserHeaderTable{{
    {"module_name", "Module name:", 0x3C0, 16},
    {"version", "Version:", 0x3D0, 4},
    {"source", "Source address:", 0x3D4, 4},
    {"destination", "Destination address:", 0x3D8, 4},
    {"size", "Program size:", 0x3DC, 4},
    {"master_start", "Master SH-2 start:", 0x3E0, 4},
    {"slave_start", "Slave SH-2 start:", 0x3E4, 4},
    {"master_vbr", "Master SH-2 VBR:", 0x3E8, 4},
    {"slave_vbr", "Slave SH-2 VBR:", 0x3EC, 4},
}};

// A sign of the initial program: bytes a 32X ROM has at an offset, and who goes by them.
struct MarsMark {
    std::string_view key;
    std::string_view what;   // for people
    std::uint32_t offset;    // in the ROM
    std::string_view bytes;  // what must be there
    std::string_view reader; // who needs it, and the source
};

// The reset vector and module name are the start of the initial program every 32X build
// carries; the text at 0x512 is what rom-properties tests to call a ROM 32X.
inline constexpr std::array<MarsMark, 3> MarsMarkTable{{
    {"reset_vector", "68000 reset vector 000003F0", 0x004, std::string_view("\0\0\x03\xF0", 4),
     "the 32X starts the 68000 in the initial program at 3F0 (ClassiCube misc/32x/m68k_crt0.s, "
     "NikonaSDK system/head_mars.asm)"},
    {"module_name", "module name \"MARS CHECK MODE \" at 0x3C0", 0x3C0, "MARS CHECK MODE ",
     "the initial program's user header (rom-properties md_structs.h)"},
    {"security_text", "\"MARS Initial & Security Program\" at 0x512", 0x512,
     "MARS Initial & Security Program",
     "rom-properties calls a ROM 32X only with it (MegaDrive.cpp isRomSupported_static)"},
}};

// CRC-32s of 0x400-0x7FF as the 32X's master SH-2 boot ROM holds it (its bytes 36C-76B): the
// 32X, and jgenesis after it, refuse a cartridge whose bytes differ (jgenesis s32x-core lib.rs,
// jgenesis #259). No such checksum is known to this program yet: none of the sources gives
// one, and no 32X ROM was at hand to measure, so the table is empty and the security program
// is reported as not verified.
inline constexpr std::array<std::uint32_t, 0> KnownSecurityChecksums{};

struct MarsReading {
    std::vector<const MarsMark*> present, missing; // in the order of MarsMarkTable
    std::uint32_t securityCrc = 0;                 // of 0x400-0x7FF
    // Whether securityCrc is a known one; nothing when no checksum is known to compare with.
    std::optional<bool> securityKnown;

    bool has(std::string_view key) const;
    // The reset vector and module name: the ROM carries the initial program.
    bool carriesProgram() const { return has("reset_vector") && has("module_name"); }
    // Everything the 32X and the readers look for.
    bool complete() const { return missing.empty() && securityKnown.value_or(true); }
};

// resetVector: the ROM's bytes 0-7 (the 68000's stack pointer and reset vector).
MarsReading ReadMarsProgram(std::span<const std::uint8_t, 8> vectors, const MarsArea& area,
                            std::span<const std::uint32_t> known = KnownSecurityChecksums);

// A number of the user header, of the area.
std::uint32_t MarsUserNumber(const MarsArea& area, const MarsUserField& field);

} // namespace quillon
