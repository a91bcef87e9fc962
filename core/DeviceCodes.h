// SPDX-License-Identifier: MIT
// The device-support field (0x190): one character for each controller or peripheral the ROM
// works with.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

struct DeviceCode {
    char code;
    std::string_view name;
};

// Sega's header documentation lists each of these, and Genesis Plus GX, ares, rom-properties
// and the MiSTer core read them alike; Genesis Plus GX and ares act on 6 (a 6-button pad is
// plugged in) and C (the Mega-CD is switched on). Codes seen in ROMs but known to nobody, such
// as D (in SGDK's default header and a few old games) and 3, are not in the table.
inline constexpr std::array<DeviceCode, 16> DeviceTable{{
    {'J', "3-button pad"},
    {'6', "6-button pad"},
    {'0', "Master System pad"},
    {'4', "Team Player"},
    {'K', "keyboard"},
    {'R', "serial (RS-232C)"},
    {'P', "printer"},
    {'T', "tablet"},
    {'B', "trackball"},
    {'V', "paddle"},
    {'F', "floppy drive"},
    {'C', "Mega-CD"},
    {'L', "Activator"},
    {'M', "mouse"},
    {'G', "light gun (Menacer)"},
    {'A', "analog joystick"},
}};

struct DeviceEntry {
    char code;
    std::string_view name; // "unknown" for a code outside the table
    bool known;
    std::uint32_t offset; // where the code stands in the file
};

// Each code of the field once, in the order it first appears; spaces and zero bytes are
// no codes.
std::vector<DeviceEntry> ReadDevices(std::span<const std::uint8_t> field, std::uint32_t offset);

} // namespace quillon
