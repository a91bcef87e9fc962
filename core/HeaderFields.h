// SPDX-License-Identifier: MIT
// Every field of a ROM's header, and of a disc's system area before it, as one row each: code
// names a field by its id, and loops run over the rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

// Row for row with HeaderFields; the window's six come first, so that their ids are also their
// rows in HeaderFieldTable.
enum class FieldId : std::size_t {
    ConsoleName,
    Copyright,
    DomesticName,
    OverseasName,
    SerialNumber,
    CountryCode,
    DeviceSupport,
    RomStart,
    RomEnd,
    RamStart,
    RamEnd,
    ExtraMemory,
    Modem,
    Memo,
    VolumeName,
    SystemName,
    BuildDate,
    Checksum,
};

enum class FieldKind {
    Text,        // one character a byte, up to the first zero byte
    Address,     // a 32-bit big-endian address
    ExtraMemory, // "RA", a type byte, a kind byte, a start and an end address
    Checksum,    // the 16-bit sum, high byte first
};

inline constexpr std::size_t FieldKindCount = 4;

// What kind of image has a field, or a lint rule is about: a cartridge's ROM, a disc's first
// sector, or either.
enum class Media { Any, Cartridge, Disc };

struct HeaderField {
    std::size_t index; // its row in HeaderFields, which is also its FieldId
    std::string_view label;
    std::uint32_t offset;
    std::uint32_t length;
    std::string_view key; // its name in machine-readable output and on the command line
    FieldKind kind = FieldKind::Text;
    bool windowEdits = false; // one of the window's six texts
    Media media = Media::Any;
};

namespace detail {

// Who edits a field as a text: the window (and the command line), or the command line alone;
// the window edits the checksum too, in a box of its own.
enum class Editor { Window, CliOnly };

struct FieldRow {
    FieldId id;
    std::string_view key;
    std::string_view label;
    std::uint32_t offset;
    std::uint32_t length;
    FieldKind kind;
    Editor editor;
    Media media;
};

template <std::size_t Count>
constexpr std::array<HeaderField, Count> fieldsOf(const std::array<FieldRow, Count>& rows) {
    std::array<HeaderField, Count> fields{};
    for (std::size_t i = 0; i < Count; ++i) {
        const FieldRow& row = rows[i];
        fields[i] = {
            static_cast<std::size_t>(row.id), row.label, row.offset, row.length, row.key, row.kind,
            row.editor == Editor::Window,     row.media};
    }
    return fields;
}

using enum FieldKind;
using enum Editor;
using enum Media;

// Offsets are those of the cartridge's memory map, which a disc's first sector repeats: the
// header at 0x100 (Sega's header documentation; Genesis Plus GX core/loadrom.c getrominfo reads
// the same places), the disc's system area before it (rom-properties md_structs.h,
// MCD_SystemID), each disc text followed by a byte left as it is; the build date is "MMDDYYYY",
// usually.
inline constexpr std::array<FieldRow, 18> fieldRows{{
    // id, key, label, offset, length, kind, who edits it, media
    {FieldId::ConsoleName, "console_name", "Console Name:", 0x100, 16, Text, Window, Any},
    {FieldId::Copyright, "copyright", "Copyright Date:", 0x110, 16, Text, Window, Any},
    {FieldId::DomesticName, "domestic_name", "Domestic Name:", 0x120, 48, Text, Window, Any},
    {FieldId::OverseasName, "overseas_name", "Overseas Name:", 0x150, 48, Text, Window, Any},
    {FieldId::SerialNumber, "serial_number", "Serial Number:", 0x180, 14, Text, Window, Any},
    {FieldId::CountryCode, "country_code", "Country Code:", 0x1F0, 3, Text, Window, Any},
    {FieldId::DeviceSupport, "device_support", "Device Support:", 0x190, 16, Text, CliOnly, Any},
    {FieldId::RomStart, "rom_start", "ROM Start:", 0x1A0, 4, Address, CliOnly, Any},
    {FieldId::RomEnd, "rom_end", "ROM End:", 0x1A4, 4, Address, CliOnly, Any},
    {FieldId::RamStart, "ram_start", "RAM Start:", 0x1A8, 4, Address, CliOnly, Any},
    {FieldId::RamEnd, "ram_end", "RAM End:", 0x1AC, 4, Address, CliOnly, Any},
    {FieldId::ExtraMemory, "extra_memory", "Extra Memory:", 0x1B0, 12, ExtraMemory, CliOnly, Any},
    {FieldId::Modem, "modem", "Modem:", 0x1BC, 12, Text, CliOnly, Any},
    {FieldId::Memo, "memo", "Memo:", 0x1C8, 40, Text, CliOnly, Any},
    {FieldId::VolumeName, "volume_name", "Volume Name:", 0x010, 11, Text, CliOnly, Disc},
    {FieldId::SystemName, "system_name", "Disc System Name:", 0x020, 11, Text, CliOnly, Disc},
    {FieldId::BuildDate, "build_date", "Build Date:", 0x050, 8, Text, CliOnly, Disc},
    {FieldId::Checksum, "checksum", "Checksum:", 0x18E, 2, Checksum, CliOnly, Any},
}};

} // namespace detail

inline constexpr std::array<HeaderField, detail::fieldRows.size()> HeaderFields =
    detail::fieldsOf(detail::fieldRows);

// An id out of step with its row, or a window field after another, fails the build here.
static_assert([] {
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        if (HeaderFields[i].index != i ||
            (i > 0 && HeaderFields[i].windowEdits && !HeaderFields[i - 1].windowEdits))
            return false;
    }
    return HeaderFields.back().index == static_cast<std::size_t>(FieldId::Checksum);
}());

constexpr const HeaderField& headerField(FieldId id) {
    return HeaderFields[static_cast<std::size_t>(id)];
}

// The rows that pass a test, in table order, as a table of their own.
template <std::size_t Count, typename Test> constexpr auto fieldsWhere(Test test) {
    std::array<HeaderField, Count> rows{};
    std::size_t found = 0;
    for (const HeaderField& field : HeaderFields) {
        if (test(field))
            rows.at(found++) = field;
    }
    return found == Count ? rows : throw "fieldsWhere: the count is not the rows'";
}

template <typename Test> constexpr std::size_t fieldCount(Test test) {
    std::size_t count = 0;
    for (const HeaderField& field : HeaderFields)
        count += test(field) ? 1 : 0;
    return count;
}

// A label as a name in running text: without the colon a label ends with.
constexpr std::string_view fieldName(std::string_view label) {
    return label.ends_with(':') ? label.substr(0, label.size() - 1) : label;
}

} // namespace quillon
