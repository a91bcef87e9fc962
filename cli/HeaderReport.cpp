// SPDX-License-Identifier: MIT
#include "HeaderReport.h"

#include "DeviceCodes.h"
#include "DiscSystemArea.h"
#include "FieldKinds.h"
#include "FileCommands.h"
#include "ImageBatch.h"
#include "MarsPicoReport.h"
#include "RegionCodes.h"
#include "SystemNames.h"
#include "TextDisplay.h"

#include <algorithm>
#include <array>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>
#include <variant>

namespace quillon::cli {

namespace {

bool isComplete(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    return presentBytes(header, offset, length).size() == length;
}

// The decodes below read only bytes the file has.
std::optional<std::span<const std::uint8_t>>
wholeField(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    if (!isComplete(header, offset, length))
        return std::nullopt;
    return std::span<const std::uint8_t>(header.bytes.data() + offset, length);
}

const HeaderField& consoleNameField() { return headerField(FieldId::ConsoleName); }
const HeaderField& regionField() { return headerField(FieldId::CountryCode); }
const HeaderField& deviceField() { return headerField(FieldId::DeviceSupport); }

std::optional<RegionReading> regionOf(const LoadedHeader& header) {
    if (!wholeField(header, regionField().offset, regionField().length))
        return std::nullopt;
    // A name may run on past the three bytes of letters, to the header's end.
    const std::uint32_t length = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        header.romSize - regionField().offset, ChecksummedRegionStart - regionField().offset));
    return ReadRegion({header.bytes.data() + regionField().offset, length});
}

std::optional<std::vector<DeviceEntry>> devicesOf(const LoadedHeader& header) {
    const auto field = wholeField(header, deviceField().offset, deviceField().length);
    if (!field)
        return std::nullopt;
    return ReadDevices(*field, deviceField().offset);
}

} // namespace

std::string_view presentBytes(const LoadedHeader& header, std::uint32_t offset,
                              std::uint32_t length) {
    const auto present =
        header.romSize > offset ? std::min<std::uint64_t>(header.romSize - offset, length) : 0;
    return {reinterpret_cast<const char*>(header.bytes.data()) + offset,
            static_cast<std::size_t>(present)};
}

bool hasWholeHeader(const LoadedHeader& header) { return header.romSize >= ChecksummedRegionStart; }

// Two digits a byte, "--" for each byte past the end of the file.
std::string hexOrMissing(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    std::string hex = hexBytes(presentBytes(header, offset, length));
    hex.resize(2 * std::size_t{length}, '-');
    return hex;
}

std::optional<std::string> storedChecksum(const LoadedHeader& header) {
    if (!isComplete(header, ChecksumWord::offset, ChecksumWord::length))
        return std::nullopt;
    return FormatStoredChecksum(header.storedHigh, header.storedLow);
}

std::optional<std::string> calculatedChecksum(const LoadedHeader& header) {
    const auto calculated = CalculatedChecksum(header);
    return calculated ? std::optional(FormatRomChecksum(*calculated)) : std::nullopt;
}

bool checksumMatches(const LoadedHeader& header) {
    return calculatedChecksum(header) && storedChecksum(header) == calculatedChecksum(header);
}

std::string shortFileText(const LoadedHeader& header) {
    return std::to_string(header.fileSize) + " bytes, too short for a ROM header (" +
           std::to_string(ChecksummedRegionStart) + " bytes)";
}

namespace {

// The disc's system area as show gives it, one row a value.
struct DiscText {
    std::string_view label, key;
    std::string DiscSystemArea::*member;
};

constexpr std::array<DiscText, 4> discTexts{{
    {"System ID:", "system_id", &DiscSystemArea::systemId},
    {"Volume name:", "volume_name", &DiscSystemArea::volumeName},
    {"Disc system name:", "system_name", &DiscSystemArea::systemName},
    {"Build date:", "build_date", &DiscSystemArea::buildDate},
}};

struct DiscNumber {
    std::string_view label, key;
    std::variant<std::uint16_t DiscSystemArea::*, std::uint32_t DiscSystemArea::*> member;
};

const std::array<DiscNumber, 7> discNumbers{{
    {"System version:", "system_version", &DiscSystemArea::systemVersion},
    {"IP offset:", "ip_offset", &DiscSystemArea::ipOffset},
    {"IP size:", "ip_size", &DiscSystemArea::ipSize},
    {"IP entry:", "ip_entry", &DiscSystemArea::ipEntry},
    {"SP offset:", "sp_offset", &DiscSystemArea::spOffset},
    {"SP size:", "sp_size", &DiscSystemArea::spSize},
    {"SP entry:", "sp_entry", &DiscSystemArea::spEntry},
}};

std::uint32_t numberOf(const DiscSystemArea& area, const DiscNumber& number) {
    return std::visit([&area](auto member) { return std::uint32_t{area.*member}; }, number.member);
}

template <typename Line> void printDisc(const LoadedHeader& header, const Line& line) {
    const DiscSystemArea area = ReadDiscSystemArea(DiscUserData(header));
    for (const DiscText& text : discTexts)
        line(text.label, visibleText(area.*text.member));
    for (const DiscNumber& number : discNumbers)
        line(number.label, FormatAddress(numberOf(area, number)));
    bool first = true;
    for (const DiscRegionReading& reading : ReadDiscRegion(DiscUserData(header))) {
        line(first ? "Security region:" : "",
             regionNames(reading.regions) + " by " + std::string(reading.reader));
        first = false;
    }
    if (IsCd32x(DiscUserData(header)))
        line("CD32X:", "yes (\"SEGA 32X\" at 0x100: a disc for the 32X and Mega-CD together)");
}

Json discJson(const LoadedHeader& header) {
    const DiscSystemArea area = ReadDiscSystemArea(DiscUserData(header));
    Json json;
    for (const DiscText& text : discTexts)
        json[std::string(text.key)] = utf8Text(area.*text.member);
    for (const DiscNumber& number : discNumbers)
        json[std::string(number.key)] = numberOf(area, number);
    Json readings = Json::array();
    for (const DiscRegionReading& reading : ReadDiscRegion(DiscUserData(header))) {
        Json regions = Json::array();
        for (const Region each : reading.regions)
            regions.push_back(regionInfo(each).key);
        readings.push_back({{"reader", reading.reader}, {"regions", regions}});
    }
    json["region_readings"] = readings;
    json["cd32x"] = IsCd32x(DiscUserData(header));
    return json;
}

} // namespace

void printHeader(const std::string& path, const LoadedHeader& header, std::ostream& out) {
    constexpr int labelWidth = 22;
    const auto line = [&out](std::string_view label, const std::string& value) {
        out << "  " << std::left << std::setw(labelWidth) << label << value << '\n';
    };
    out << displayText(path) << '\n';
    for (const HeaderField& field : HeaderFieldTable)
        line(field.label, fieldKind(field.kind).show(header, field));
    const HeaderField& checksum = headerField(FieldId::Checksum);
    line("Stored checksum:", fieldKind(checksum.kind).show(header, checksum));
    if (const auto calculated = calculatedChecksum(header))
        line("Calculated checksum:",
             *calculated + (checksumMatches(header) ? " (matches)" : " (differs)"));
    else
        line("Calculated checksum:", "none (" + std::string(header.layout->romRefusal) + ")");
    for (const HeaderField& field : HeaderInfoTable)
        line(field.label, fieldKind(field.kind).show(header, field));
    if (const auto name = wholeField(header, consoleNameField().offset, consoleNameField().length))
        line("System:", std::string(ReadSystem(*name).name));
    if (const auto region = regionOf(header)) {
        line("Regions:", regionNames(region->regions) + " (" +
                             std::string(regionStyleKey(region->style)) +
                             (region->spelling.empty() ? "" : " " + region->spelling) + ")");
        if (!region->unknown.empty())
            line("", "not decoded: " + visibleText(region->unknown));
        for (const std::string& dispute : region->disputes)
            line("", "readers differ: " + dispute);
    }
    if (const auto devices = devicesOf(header)) {
        std::string names;
        for (const DeviceEntry& device : *devices)
            names.append(names.empty() ? "" : ", ")
                .append(visibleText(std::string(1, device.code)))
                .append(" ")
                .append(device.name);
        line("Devices:", names.empty() ? "none" : names);
    }
    printMarsPico(header, line);
    if (!header.discUserData.empty())
        printDisc(header, line);
    line("Size:", std::to_string(header.fileSize) + " bytes");
    if (!header.layout->description.empty())
        line("Format:", std::string(header.layout->description));
    if (header.doubtful)
        out << "  Warning: " << header.layout->doubt << '\n';
    if (!hasWholeHeader(header))
        out << "  Warning: " << shortFileText(header) << "; not a ROM image\n";
    else if (!HasTrademark(header.bytes))
        out << "  Warning: no \"SEGA\" at 0x100 or 0x101; consoles with the trademark check "
               "refuse to start this ROM\n";
}

void addChecksumJson(Json& json, const LoadedHeader& header) {
    const HeaderField& checksum = headerField(FieldId::Checksum);
    fieldKind(checksum.kind).json(json, header, checksum);
    const auto calculated = calculatedChecksum(header);
    json["calculated_checksum"] = calculated ? Json(*calculated) : Json(nullptr);
    json["checksum_ok"] = calculated ? Json(checksumMatches(header)) : Json(nullptr);
}

std::string headerJsonLine(const std::string& path, const LoadedHeader& header) {
    Json json = recordJson(path);
    for (const HeaderField& field : HeaderFieldTable)
        fieldKind(field.kind).json(json, header, field);
    addChecksumJson(json, header);
    for (const HeaderField& field : HeaderInfoTable)
        fieldKind(field.kind).json(json, header, field);
    if (const auto name = wholeField(header, consoleNameField().offset, consoleNameField().length))
        json["system"] = ReadSystem(*name).key;
    else
        json["system"] = nullptr;
    if (const auto region = regionOf(header)) {
        Json regions = Json::array();
        for (const Region each : region->regions)
            regions.push_back(regionInfo(each).key);
        json["regions"] = regions;
        json["region_style"] = regionStyleKey(region->style);
        json["region_disputes"] = region->disputes;
    } else {
        json["regions"] = nullptr;
        json["region_style"] = nullptr;
        json["region_disputes"] = nullptr;
    }
    if (const auto devices = devicesOf(header)) {
        Json list = Json::array();
        for (const DeviceEntry& device : *devices)
            list.push_back(
                {{"code", utf8Text(std::string(1, device.code))}, {"name", device.name}});
        json["devices"] = list;
    } else {
        json["devices"] = nullptr;
    }
    addMarsPicoJson(json, header);
    json["disc"] = header.discUserData.empty() ? Json(nullptr) : discJson(header);
    json["tmss_ok"] = HasTrademark(header.bytes);
    json["layout"] = header.layout->key;
    json["layout_doubtful"] = header.doubtful;
    json["interleaved"] = header.layout == &InterleavedLayout; // as callers before "layout" read it
    json["complete_header"] = hasWholeHeader(header);
    json["size"] = header.fileSize;
    return jsonText(json);
}

} // namespace quillon::cli
