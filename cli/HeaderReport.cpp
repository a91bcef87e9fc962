// SPDX-License-Identifier: MIT
#include "HeaderReport.h"

#include "DeviceCodes.h"
#include "FileCommands.h"
#include "RegionCodes.h"
#include "SystemNames.h"
#include "TextDisplay.h"

#include <algorithm>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

namespace quillon::cli {

namespace {

using Json = nlohmann::ordered_json;

// The bytes from offset that the ROM really has; a short file may end inside or before them.
std::string_view presentBytes(const LoadedHeader& header, std::uint32_t offset,
                              std::uint32_t length) {
    const auto present =
        header.romSize > offset ? std::min<std::uint64_t>(header.romSize - offset, length) : 0;
    return {reinterpret_cast<const char*>(header.bytes.data()) + offset,
            static_cast<std::size_t>(present)};
}

bool isComplete(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    return presentBytes(header, offset, length).size() == length;
}

// A text up to its first zero byte, with a note where the file ends inside or before it.
std::string textOrMissing(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    const std::string_view present = presentBytes(header, offset, length);
    if (present.empty())
        return "(past the end of the file)";
    std::string text = visibleText(present.substr(0, present.find('\0')));
    if (present.size() < length)
        text += " (the file ends after " + std::to_string(present.size()) + " of its " +
                std::to_string(length) + " bytes)";
    return text;
}

bool hasTrademark(const LoadedHeader& header) { return HasTrademark(header.bytes); }

std::string accessText(const ExtraMemory& memory, MemoryAccess access) {
    const auto size = memory.size(access);
    return std::string(memoryAccessName(access)) +
           (size ? ", " + std::to_string(*size) + " bytes" : std::string());
}

std::string describe(const ExtraMemory& memory) {
    std::string text = "RA, type " + PadHex(ToHex(memory.type), 2) + " " +
                       PadHex(ToHex(memory.kindByte), 2) + " (" + std::string(memory.kind()) +
                       ", " + (memory.backedUp() ? "backed up" : "not backed up") + ", " +
                       accessText(memory, memory.access()) + "), " + FormatAddress(memory.start) +
                       "-" + FormatAddress(memory.end);
    if (memory.accessByAddresses() != memory.access())
        text += "; by its addresses " + accessText(memory, memory.accessByAddresses());
    return text;
}

// The decodes below read only bytes the file has.
std::optional<std::span<const std::uint8_t>>
wholeField(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    if (!isComplete(header, offset, length))
        return std::nullopt;
    return std::span<const std::uint8_t>(header.bytes.data() + offset, length);
}

const HeaderField& consoleNameField() { return HeaderFieldTable[0]; }
const HeaderField& regionField() { return HeaderFieldTable[5]; }
const HeaderInfoField& deviceField() { return headerInfoField("device_support"); }

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

std::string calculatedChecksum(const LoadedHeader& header) {
    return FormatRomChecksum(header.calculated);
}

bool checksumMatches(const LoadedHeader& header) {
    return storedChecksum(header) == calculatedChecksum(header);
}

std::string shortFileText(const LoadedHeader& header) {
    return std::to_string(header.fileSize) + " bytes, too short for a ROM header (" +
           std::to_string(ChecksummedRegionStart) + " bytes)";
}

namespace {

std::string infoText(const LoadedHeader& header, const HeaderInfoField& field) {
    const std::uint8_t* bytes = header.bytes.data() + field.offset;
    const bool complete = isComplete(header, field.offset, field.length);
    switch (field.kind) {
    case HeaderInfoKind::Address:
        return complete ? FormatAddress(ReadAddress(bytes))
                        : hexOrMissing(header, field.offset, field.length);
    case HeaderInfoKind::ExtraMemory:
        if (const auto memory = complete ? DecodeExtraMemory(bytes) : std::nullopt)
            return describe(*memory);
        break;
    case HeaderInfoKind::Text:
        break;
    }
    return textOrMissing(header, field.offset, field.length);
}

void addInfoJson(Json& json, const LoadedHeader& header, const HeaderInfoField& field) {
    const std::string key(field.key);
    const std::uint8_t* bytes = header.bytes.data() + field.offset;
    const std::string_view present = presentBytes(header, field.offset, field.length);
    const bool complete = present.size() == field.length;
    switch (field.kind) {
    case HeaderInfoKind::Address:
        json[key] = complete ? Json(FormatAddress(ReadAddress(bytes))) : Json(nullptr);
        return;
    case HeaderInfoKind::ExtraMemory:
        if (const auto memory = complete ? DecodeExtraMemory(bytes) : std::nullopt) {
            const auto sizeJson = [](std::optional<std::uint64_t> size) {
                return size ? Json(*size) : Json(nullptr);
            };
            json[key] = {{"type", PadHex(ToHex(memory->type), 2)},
                         {"kind", memory->kind()},
                         {"backed_up", memory->backedUp()},
                         {"access", memoryAccessName(memory->access())},
                         {"size", sizeJson(memory->size(memory->access()))},
                         {"address_access", memoryAccessName(memory->accessByAddresses())},
                         {"address_size", sizeJson(memory->size(memory->accessByAddresses()))},
                         {"start", FormatAddress(memory->start)},
                         {"end", FormatAddress(memory->end)}};
        } else {
            json[key] = nullptr;
        }
        break;
    case HeaderInfoKind::Text:
        json[key] = utf8Text(present.substr(0, present.find('\0')));
        break;
    }
    json[key + "_hex"] = hexBytes(present);
}

} // namespace

void printHeader(const std::string& path, const LoadedHeader& header, std::ostream& out) {
    constexpr int labelWidth = 22;
    const auto line = [&out](std::string_view label, const std::string& value) {
        out << "  " << std::left << std::setw(labelWidth) << label << value << '\n';
    };
    out << displayText(path) << '\n';
    for (const HeaderField& field : HeaderFieldTable)
        line(field.label, textOrMissing(header, field.offset, field.length));
    line("Stored checksum:", hexOrMissing(header, ChecksumWord::offset, ChecksumWord::length));
    line("Calculated checksum:",
         calculatedChecksum(header) + (checksumMatches(header) ? " (matches)" : " (differs)"));
    for (const HeaderInfoField& field : HeaderInfoTable)
        line(field.label, infoText(header, field));
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
    line("Size:", std::to_string(header.fileSize) + " bytes");
    if (!header.layout->description.empty())
        line("Format:", std::string(header.layout->description));
    if (header.doubtful)
        out << "  Warning: " << header.layout->doubt << '\n';
    if (!hasWholeHeader(header))
        out << "  Warning: " << shortFileText(header) << "; not a ROM image\n";
    else if (!hasTrademark(header))
        out << "  Warning: no \"SEGA\" at 0x100 or 0x101; consoles with the trademark check "
               "refuse to start this ROM\n";
}

std::string headerJsonLine(const std::string& path, const LoadedHeader& header) {
    Json json;
    json["path"] = path; // not valid UTF-8 bytes are replaced when dumped; path_hex keeps them
    json["path_hex"] = hexBytes(path);
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string key(fieldKeys[field.index]);
        json[key] = utf8Text(header.texts[field.index]);
        json[key + "_hex"] = hexBytes(presentBytes(header, field.offset, field.length));
    }
    const auto stored = storedChecksum(header);
    json["stored_checksum"] = stored ? Json(*stored) : Json(nullptr);
    json["calculated_checksum"] = calculatedChecksum(header);
    json["checksum_ok"] = checksumMatches(header);
    for (const HeaderInfoField& field : HeaderInfoTable)
        addInfoJson(json, header, field);
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
    json["tmss_ok"] = hasTrademark(header);
    json["layout"] = header.layout->key;
    json["layout_doubtful"] = header.doubtful;
    json["interleaved"] = header.layout == &InterleavedLayout; // as callers before "layout" read it
    json["complete_header"] = hasWholeHeader(header);
    json["size"] = header.fileSize;
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace quillon::cli
