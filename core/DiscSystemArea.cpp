// SPDX-License-Identifier: MIT
#include "DiscSystemArea.h"

#include "Crc32.h"
#include "HeaderFields.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quillon {

namespace {

// The system area's fields (rom-properties src/libromdata/Console/md_structs.h; the homebrew
// boot sector of drojaazu/mmd_loader boot/boot.s fills them the same way). Numbers are
// big-endian, as the 68000 reads them.
struct TextField {
    std::string DiscSystemArea::*member;
    std::size_t offset, length;
};
// The texts a write may change are rows of the header's field table.
constexpr TextField textOf(std::string DiscSystemArea::*member, FieldId id) {
    return {member, headerField(id).offset, headerField(id).length};
}
constexpr std::array<TextField, 4> TextFields{{
    {&DiscSystemArea::systemId, 0x000, 16},
    textOf(&DiscSystemArea::volumeName, FieldId::VolumeName),
    textOf(&DiscSystemArea::systemName, FieldId::SystemName),
    textOf(&DiscSystemArea::buildDate, FieldId::BuildDate),
}};

// A big-endian number as wide as its member.
template <typename Number> struct NumberField {
    Number DiscSystemArea::*member;
    std::size_t offset;
};
constexpr std::array<NumberField<std::uint16_t>, 3> WordFields{{
    {&DiscSystemArea::volumeSystem, 0x01C},
    {&DiscSystemArea::volumeType, 0x01E},
    {&DiscSystemArea::systemVersion, 0x02C},
}};

constexpr std::array<NumberField<std::uint32_t>, 8> LongFields{{
    {&DiscSystemArea::ipOffset, 0x030},
    {&DiscSystemArea::ipSize, 0x034},
    {&DiscSystemArea::ipEntry, 0x038},
    {&DiscSystemArea::ipWorkRam, 0x03C},
    {&DiscSystemArea::spOffset, 0x040},
    {&DiscSystemArea::spSize, 0x044},
    {&DiscSystemArea::spEntry, 0x048},
    {&DiscSystemArea::spWorkRam, 0x04C},
}};

constexpr std::size_t SecurityProgramOffset = 0x200;
constexpr std::size_t RegionByteOffset = 0x20B;
constexpr std::string_view Cd32xName = "SEGA 32X"; // rom-properties MegaDrive.cpp; jgenesis
                                                   // segacd-core is_cd_32x_disc

// A reader either looks at the one byte 0x20B, which differs between the security programs,
// or compares a CRC-32 of the program's first bytes with those of the programs it knows.
enum class Look { RegionByte, SecurityCrc };

struct SecurityRule {
    std::size_t crcLength; // bytes from 0x200 the CRC covers; unused for the byte
    std::uint32_t value;   // the byte or the CRC-32
    Region region;
};

struct DiscRegionReader {
    std::string_view name;
    std::string_view how;
    Look look;
    std::span<const SecurityRule> rules;
    std::span<const Region> otherwise; // when no rule matches
};

// Genesis Plus GX core/loadrom.c get_region; PicoDrive pico/media.c PicoCdCheck.
constexpr SecurityRule GpgxRules[] = {{0, 0x64, Region::Europe}, {0, 0xA1, Region::Japan}};
constexpr Region GpgxOtherwise[] = {Region::Americas};
// BlastEm (blastem-highscore) genesis.c alloc_config_genesis_cdboot.
constexpr SecurityRule BlastEmRules[] = {
    {0, 0x7A, Region::Americas}, {0, 0xA1, Region::Japan}, {0, 0x64, Region::Europe}};
// ares mia/medium/mega-cd.cpp: the Japanese, European and American programs' lengths.
constexpr SecurityRule AresRules[] = {{340, 0x4571F623, Region::Japan},
                                      {1390, 0x6FFB4732, Region::Europe},
                                      {1412, 0xF361AB57, Region::Americas}};
constexpr Region AresOtherwise[] = {Region::Japan, Region::Americas, Region::Europe};
// rom-properties src/libromdata/Console/MegaDrive.cpp.
constexpr SecurityRule RomPropertiesRules[] = {{0x150, 0xD6BC66C7, Region::Japan},
                                               {0x150, 0xC5878BA4, Region::Americas},
                                               {0x150, 0x233CFB15, Region::Europe}};

constexpr std::array<DiscRegionReader, 4> DiscRegionReaders{{
    {"Genesis Plus GX and PicoDrive (byte 0x20B)",
     "byte 0x20B: 0x64 Europe, 0xA1 Japan, anything else Americas", Look::RegionByte, GpgxRules,
     GpgxOtherwise},
    {"BlastEm (byte 0x20B)",
     "byte 0x20B: 0x7A Americas, 0xA1 Japan, 0x64 Europe, anything else none",
     Look::RegionByte,
     BlastEmRules,
     {}},
    {"ares (CRC-32 of the security program)",
     "CRC-32 of 340, 1390 or 1412 bytes at 0x200 against the Japanese, European and American "
     "programs; no match allows all three",
     Look::SecurityCrc, AresRules, AresOtherwise},
    {"rom-properties (CRC-32 of 0x150 bytes at 0x200)",
     "CRC-32 of 0x150 bytes at 0x200 against the Japanese, American and European programs; no "
     "match gives none",
     Look::SecurityCrc,
     RomPropertiesRules,
     {}},
}};

bool matches(const SecurityRule& rule, Look look, std::span<const std::uint8_t, 2048> userData) {
    if (look == Look::RegionByte)
        return userData[RegionByteOffset] == rule.value;
    return ComputeCrc32(userData.subspan(SecurityProgramOffset, rule.crcLength)) == rule.value;
}

template <typename Number, std::size_t Count>
void readNumbers(const std::array<NumberField<Number>, Count>& fields,
                 std::span<const std::uint8_t> userData, DiscSystemArea& area) {
    for (const NumberField<Number>& field : fields) {
        Number value = 0;
        for (const std::uint8_t byte : userData.subspan(field.offset, sizeof(Number)))
            value = static_cast<Number>(value << 8 | byte);
        area.*field.member = value;
    }
}

} // namespace

bool HasDiscSystemId(std::span<const std::uint8_t> userData) {
    return std::any_of(std::begin(DiscSystemIds), std::end(DiscSystemIds),
                       [&](std::string_view id) {
                           return userData.size() >= id.size() &&
                                  std::equal(id.begin(), id.end(), userData.begin());
                       });
}

DiscSystemArea ReadDiscSystemArea(std::span<const std::uint8_t, 2048> userData) {
    DiscSystemArea area;
    for (const TextField& field : TextFields) {
        const auto bytes = userData.subspan(field.offset, field.length);
        area.*field.member = std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
    }
    readNumbers(WordFields, userData, area);
    readNumbers(LongFields, userData, area);
    return area;
}

std::vector<DiscRegionReading> ReadDiscRegion(std::span<const std::uint8_t, 2048> userData) {
    std::vector<DiscRegionReading> readings;
    for (const DiscRegionReader& reader : DiscRegionReaders) {
        DiscRegionReading reading{reader.name, {}, reader.how};
        for (const SecurityRule& rule : reader.rules)
            if (matches(rule, reader.look, userData))
                reading.regions.push_back(rule.region);
        if (reading.regions.empty())
            reading.regions.assign(reader.otherwise.begin(), reader.otherwise.end());
        readings.push_back(std::move(reading));
    }
    return readings;
}

bool IsCd32x(std::span<const std::uint8_t, 2048> userData) {
    return std::equal(Cd32xName.begin(), Cd32xName.end(), userData.begin() + 0x100);
}

} // namespace quillon
