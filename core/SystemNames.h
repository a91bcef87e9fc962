// SPDX-License-Identifier: MIT
// Which system the console name (0x100) claims: emulators pick hardware by it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

enum class System { MegaDrive, Genesis, Mega32X, Ssf, Pico, EverDrive, MegaWifi, Other };

struct SystemName {
    std::string_view prefix; // what the console name starts with, after one optional space
    System system;
    std::string_view key;  // its name in machine-readable output
    std::string_view name; // for people
};

// The names plutiedev.com and rom-properties list. SEGA SSF asks for the extended (Sega)
// mapper, which BlastEm gives a ROM of 512 KiB or more; SEGA PICO makes Genesis Plus GX a
// Pico. The other Pico names are those BlastEm (system.c) and rom-properties (MegaDrive.cpp)
// list; PicoReaders.h has which reader takes which.
inline constexpr std::array<SystemName, 14> SystemTable{{
    {"SEGA MEGA DRIVE", System::MegaDrive, "mega_drive", "Mega Drive"},
    {"SEGA MEGADRIVE", System::MegaDrive, "mega_drive", "Mega Drive"},
    {"SEGA GENESIS", System::Genesis, "genesis", "Genesis"},
    {"SEGA 32X", System::Mega32X, "32x", "32X"},
    {"SEGA SSF", System::Ssf, "ssf", "Mega Drive with the extended (SSF) mapper"},
    {"SEGA PICO", System::Pico, "pico", "Pico"},
    {"SEGATOYS PICO", System::Pico, "pico", "Pico"},
    {"SEGA TOYS PICO", System::Pico, "pico", "Pico"},
    {"SAMSUNG PICO", System::Pico, "pico", "Pico"},
    {"SEGA IAC", System::Pico, "pico", "Pico"},
    {"IMA IKUNOUJYUKU", System::Pico, "pico", "Pico"},
    {"IMA IKUNOJYUKU", System::Pico, "pico", "Pico"},
    {"SEGA EVERDRIVE", System::EverDrive, "everdrive", "Mega EverDrive (extended mapper)"},
    {"SEGA MEGAWIFI", System::MegaWifi, "megawifi", "MegaWiFi cartridge"},
}};

inline constexpr SystemName OtherSystem{{}, System::Other, "other", "other"};

// The system the console name's 16 bytes name.
const SystemName& ReadSystem(std::span<const std::uint8_t> consoleName);

} // namespace quillon
