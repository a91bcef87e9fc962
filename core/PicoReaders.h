// SPDX-License-Identifier: MIT
// How each reader tells a Pico cartridge by its console name (0x100-0x10F), and the region
// PicoDrive gives a Pico from 0x1F0. The readers list different names, so a name can be a Pico
// to one and a Mega Drive game to another.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// A text a reader looks for anywhere in the console name's 16 bytes.
struct PicoName {
    std::string_view reader;
    std::string_view text;
    std::string_view source;
};

inline constexpr std::array<std::string_view, 4> PicoReaderNames{"Genesis Plus GX", "PicoDrive",
                                                                 "BlastEm", "rom-properties"};

inline constexpr std::array<PicoName, 14> PicoNameTable{{
    {"Genesis Plus GX", "SEGA PICO", "core/loadrom.c"},
    {"PicoDrive", " PICO ", "pico/media.c"},
    {"PicoDrive", "SEGA IAC ", "pico/media.c"},
    {"PicoDrive", "IMA IKUNO", "pico/media.c"},
    {"BlastEm", "SEGA PICO", "system.c"},
    {"BlastEm", "SEGATOYS PICO", "system.c"},
    {"BlastEm", "SEGA TOYS PICO", "system.c"},
    {"BlastEm", "SAMSUNG PICO", "system.c"},
    {"BlastEm", "SEGA IAC", "system.c"},
    {"BlastEm", "IMA IKUNOUJYUKU", "system.c"},
    {"BlastEm", "IMA IKUNOJYUKU", "system.c"},
    // Its "TOYS PICO" names cover SEGATOYS PICO and SEGA TOYS PICO; SAMSUNG PICO is the
    // Korean Pico.
    {"rom-properties", "SEGA PICO", "MegaDrive.cpp"},
    {"rom-properties", "TOYS PICO", "MegaDrive.cpp"},
    {"rom-properties", "SAMSUNG PICO", "MegaDrive.cpp"},
}};

struct PicoReading {
    std::string_view reader;
    const PicoName* match; // the name it found, or nothing: not a Pico to this reader
};

// Each reader's verdict, in PicoReaderNames' order.
std::array<PicoReading, PicoReaderNames.size()> ReadPicoName(std::span<const std::uint8_t> name);

// Whether any reader takes the name for a Pico's, and whether they all do.
bool anyPico(std::span<const PicoReading> readings);
bool allPico(std::span<const PicoReading> readings);

enum class PicoRegion { JapanNtsc, JapanPal, Usa, Europe };

struct PicoRegionInfo {
    PicoRegion region;
    std::string_view key;
    std::string_view name;
    std::uint8_t mask;    // its bit in the region digit
    std::uint8_t version; // what the Pico's version register reads (pico/pico/pico.c)
};

// In the order PicoDrive prefers them when several are named.
inline constexpr std::array<PicoRegionInfo, 4> PicoRegionTable{{
    {PicoRegion::Europe, "europe", "Europe", 0x8, 0x20},
    {PicoRegion::Usa, "usa", "USA", 0x4, 0x60},
    {PicoRegion::JapanPal, "japan_pal", "Japan (PAL)", 0x2, 0x00},
    {PicoRegion::JapanNtsc, "japan_ntsc", "Japan (NTSC)", 0x1, 0x40},
}};

// The region PicoDrive's PicoDetectRegion takes from the four bytes at 0x1F0: J, U and E as
// letters, a lower-case j, u or e ends the scan, any other byte as a hexadecimal mask digit;
// nothing when they name none (PicoDrive then takes its configured default). A newer PicoDrive
// also reads "EUROPE" and "Europe": the letters give Europe for both as well.
std::optional<PicoRegionInfo> ReadPicoRegion(std::span<const std::uint8_t, 4> bytes);

} // namespace quillon
