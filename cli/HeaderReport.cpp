// SPDX-License-Identifier: MIT
#include "HeaderReport.h"

#include "FileCommands.h"
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

std::string describe(const ExtraMemory& memory) {
    return "RA, type " + PadHex(ToHex(memory.type), 2) + " (" +
           (memory.backedUp() ? "backed up" : "not backed up") + ", " +
           std::string(memory.access()) + "), " + FormatAddress(memory.start) + "-" +
           FormatAddress(memory.end);
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
        if (const auto memory = complete ? DecodeExtraMemory(bytes) : std::nullopt)
            json[key] = {{"type", PadHex(ToHex(memory->type), 2)},
                         {"backed_up", memory->backedUp()},
                         {"access", memory->access()},
                         {"start", FormatAddress(memory->start)},
                         {"end", FormatAddress(memory->end)}};
        else
            json[key] = nullptr;
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
    line("Size:", std::to_string(header.fileSize) + " bytes");
    if (header.interleaved)
        line("Format:", "interleaved copier (SMD) image, shown in ROM order");
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
        const std::string key(fieldNames[field.index].jsonKey);
        json[key] = utf8Text(header.texts[field.index]);
        json[key + "_hex"] = hexBytes(presentBytes(header, field.offset, field.length));
    }
    const auto stored = storedChecksum(header);
    json["stored_checksum"] = stored ? Json(*stored) : Json(nullptr);
    json["calculated_checksum"] = calculatedChecksum(header);
    json["checksum_ok"] = checksumMatches(header);
    for (const HeaderInfoField& field : HeaderInfoTable)
        addInfoJson(json, header, field);
    json["tmss_ok"] = hasTrademark(header);
    json["interleaved"] = header.interleaved;
    json["complete_header"] = hasWholeHeader(header);
    json["size"] = header.fileSize;
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace quillon::cli
