// SPDX-License-Identifier: MIT
#include "LintMends.h"

#include "DeviceCodes.h"
#include "HexText.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::uint32_t mapperWindowEnd = 0x3FFFFF; // what the Sega mapper shows at once

constexpr std::uint32_t countryCodeOffset = headerField(FieldId::CountryCode).offset;

// The other fields' offsets, from the table that places them.
std::uint32_t offsetOf(FieldId id) { return headerField(id).offset; }

void setFields(LintFinding& finding, std::vector<LintFixSetting> settings) {
    finding.fix = LintFix{LintFixAction::SetFields, std::move(settings)};
}

constexpr std::string_view regionChoice =
    "set --country-code to the letters of the regions the game is for: J Japan, U the Americas, "
    "E Europe (JUE for all three), which every reader decodes alike";

// The one letter each reader decodes as this region alone; Asia (the 50 Hz domestic bit) has
// none.
char regionLetter(Region region) {
    switch (region) {
    case Region::Japan:
        return 'J';
    case Region::Americas:
        return 'U';
    case Region::Europe:
        return 'E';
    case Region::Asia:
        break;
    }
    return 0;
}

// The save memory as the type byte has it (BlastEm's reading, the one a build means when it
// writes the type byte), with the addresses' parity made to agree; nothing unless it is then
// a memory no rule finds fault with.
std::optional<std::string> agreeingMemory(const LintContext& c) {
    const ExtraMemory& memory = *c.memory;
    const auto kind = std::find_if(
        SaveMemoryKindTable.begin(), SaveMemoryKindTable.end(), [&](const SaveMemoryKind& row) {
            return row.type == memory.type && row.kindByte == memory.kindByte;
        });
    if (kind == SaveMemoryKindTable.end() || kind->access == MemoryAccess::Other)
        return std::nullopt;
    ExtraMemory agreed = memory;
    agreed.start = kind->access == MemoryAccess::Odd ? memory.start | 1 : memory.start & ~1U;
    agreed.end = kind->access == MemoryAccess::Even ? memory.end & ~1U : memory.end | 1;
    const auto size = agreed.size(kind->access);
    const std::uint32_t start = agreed.start & 0xFFFFFF;
    if (agreed.start > agreed.end || !size || *size > 0x10000 || start >= 0x800000 ||
        start == 0xFF0000 || (agreed.start <= c.romEnd && agreed.end >= c.romStart))
        return std::nullopt;
    return std::string(kind->name) + ":" + ToHex(agreed.start) + "-" + ToHex(agreed.end);
}

// The text field holding this byte, as its first byte and length.
std::optional<std::pair<std::uint32_t, std::uint32_t>> textFieldAt(std::uint32_t offset) {
    for (const HeaderField& field : HeaderFieldTable) {
        if (offset >= field.offset && offset < field.offset + field.length)
            return std::pair(field.offset, field.length);
    }
    for (const HeaderField& field : HeaderInfoTable) {
        if (field.kind == FieldKind::Text && offset >= field.offset &&
            offset < field.offset + field.length)
            return std::pair(field.offset, field.length);
    }
    return std::nullopt;
}

} // namespace

// One fill byte makes the size even; the checksum then covers the last byte, so it and the ROM
// end are set anew in the same write.
void mendOddSize(const LintContext& c, LintFinding& finding) {
    finding.fix = LintFix{LintFixAction::PadTo, {}, c.header.romSize + 1};
}

void mendTrademark(const LintContext&, LintFinding& finding) {
    finding.choose = "set --console-name to the name of the hardware the ROM needs, starting "
                     "\"SEGA\": \"SEGA MEGA DRIVE\" or \"SEGA GENESIS\" for a plain cartridge, "
                     "\"SEGA SSF\" for the Sega mapper, \"SEGA 32X\" for the 32X";
}

void mendChecksum(const LintContext&, LintFinding& finding) {
    finding.fix = LintFix{LintFixAction::StoreChecksum};
}

void mendRomStart(const LintContext&, LintFinding& finding) {
    setFields(finding, {{offsetOf(FieldId::RomStart), "0"}});
}

// The file's last byte; a ROM behind the Sega mapper ends where the mapper's window does, or
// at the file's end if that comes first, and fix --rom-end leaves such a ROM end alone.
void mendRomEnd(const LintContext& c, LintFinding& finding) {
    if (c.ssf)
        setFields(finding, {{offsetOf(FieldId::RomEnd),
                             ToHex(static_cast<std::uint32_t>(
                                 std::min<std::uint64_t>(c.romEndInFile, mapperWindowEnd)))}});
    else
        finding.fix = LintFix{LintFixAction::SetRomEnd};
}

void mendRomEndFlat(const LintContext& c, LintFinding& finding) {
    if (c.romEndInFile <= mapperWindowEnd)
        mendRomEnd(c, finding);
    else
        finding.choose = "a ROM that switches banks through the Sega mapper says so with set "
                         "--console-name \"SEGA SSF\"; one read flat needs nothing (--allow "
                         "rom-end-flat)";
}

void mendRamRange(const LintContext&, LintFinding& finding) {
    setFields(finding,
              {{offsetOf(FieldId::RamStart), "FF0000"}, {offsetOf(FieldId::RamEnd), "FFFFFF"}});
}

void mendExtraMemory(const LintContext& c, LintFinding& finding) {
    if (const auto memory = agreeingMemory(c))
        setFields(finding, {{offsetOf(FieldId::ExtraMemory), *memory}});
    else
        finding.choose = "set --extra-memory to the save memory the cartridge has, as "
                         "KIND:START-END (sram-odd, sram-even, sram-word or eeprom; 64 KiB at "
                         "most, after the ROM, usually from 200000 on), or none";
}

void mendExtraMemoryUnknown(const LintContext&, LintFinding& finding) {
    finding.choose = "set --extra-memory to none if the game keeps no saves, or to the save "
                     "memory it has as KIND:START-END (sram-odd, sram-even, sram-word or eeprom)";
}

// A name says its region plainly; the letter for it is read alike by every reader.
void mendRegionName(const LintContext& c, LintFinding& finding) {
    std::string letters;
    for (const Region region : c.region.regions) {
        if (const char letter = regionLetter(region))
            letters += letter;
    }
    if (letters.empty())
        finding.choose = std::string(regionChoice);
    else
        setFields(finding, {{countryCodeOffset, letters}});
}

void mendRegionChoice(const LintContext&, LintFinding& finding) {
    finding.choose = std::string(regionChoice);
}

// What every reader skips can go; the letters they read stay. Nothing known left: the regions
// are the author's to say.
void mendRegionUnknown(const LintContext& c, LintFinding& finding) {
    if (c.region.style == RegionStyle::Letters && !c.region.spelling.empty())
        setFields(finding, {{countryCodeOffset, c.region.spelling}});
    else
        finding.choose = std::string(regionChoice) + ", in upper case";
}

// Emulators ignore an unknown code, so leaving it out changes nothing they do.
void mendDeviceUnknown(const LintContext& c, LintFinding& finding) {
    const HeaderField& field = headerField(FieldId::DeviceSupport);
    std::string known;
    for (const DeviceEntry& device :
         ReadDevices({c.bytes.data() + field.offset, field.length}, field.offset)) {
        if (device.known)
            known += device.code;
    }
    setFields(finding, {{field.offset, known}});
}

void mendCopyright(const LintContext&, LintFinding& finding) {
    finding.choose = "set --copyright to \"(C)\", the maker's 4 characters, a space, the year, "
                     "\".\" and the month: \"(C)SEGA 1994.JAN\", for example";
}

void mendSerial(const LintContext&, LintFinding& finding) {
    finding.choose = "set --serial-number to the kind in two letters (GM a game), a space, the "
                     "product number in 8 characters, \"-\" and the version in two digits: "
                     "\"GM 00001009-00\", for example";
}

// The text as readers show it: up to a zero byte, which ends it (and from which the window's
// save writes spaces), with any other control byte a space.
void mendTextControl(const LintContext& c, LintFinding& finding) {
    const auto field = textFieldAt(finding.offset);
    if (!field)
        return;
    std::string text(reinterpret_cast<const char*>(c.bytes.data()) + field->first, field->second);
    text = text.substr(0, text.find('\0'));
    for (char& byte : text) {
        if (static_cast<std::uint8_t>(byte) < 0x20 || byte == 0x7F)
            byte = ' ';
    }
    text.erase(text.find_last_not_of(' ') + 1);
    setFields(finding, {{field->first, text}});
}

// The name every reader of 32X ROMs takes: the system names' prefix, which rom-properties reads
// as " 32X" after "SEGA" and PicoDrive's quirks look for.
void mendMarsUnnamed(const LintContext&, LintFinding& finding) {
    setFields(finding, {{offsetOf(FieldId::ConsoleName), "SEGA 32X"}});
}

// The initial and security programs are Sega's code: no edit of the header makes them.
void mendMarsMissing(const LintContext&, LintFinding& finding) {
    finding.choose = "link the 32X initial program in (the 32X toolchain's start-up code: reset "
                     "vector 000003F0, the user header at 0x3C0, the security program at "
                     "0x400-0x7FF), which no header edit makes; or, for a Mega Drive game, set "
                     "--console-name to \"SEGA MEGA DRIVE\" or \"SEGA GENESIS\"";
}

// "SEGA PICO" is a Pico's name to every reader: Genesis Plus GX, BlastEm and rom-properties
// list it, and PicoDrive finds " PICO " in it once set pads it with spaces.
void mendPicoReaders(const LintContext&, LintFinding& finding) {
    setFields(finding, {{offsetOf(FieldId::ConsoleName), "SEGA PICO"}});
}

void mendDiscRegion(const LintContext&, LintFinding& finding) {
    finding.choose = "set --country-code to the letters of the region the disc is for (J, U or "
                     "E), the one its security program boots in";
}

} // namespace quillon
