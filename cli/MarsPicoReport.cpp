// SPDX-License-Identifier: MIT
#include "MarsPicoReport.h"

#include "PicoReaders.h"
#include "SystemNames.h"
#include "TextDisplay.h"

namespace quillon::cli {

namespace {

using Json = nlohmann::ordered_json;

std::span<const std::uint8_t> consoleName(const LoadedHeader& header) {
    const HeaderField& field = headerField(FieldId::ConsoleName);
    return {header.bytes.data() + field.offset, field.length};
}

bool isCartridge(const LoadedHeader& header) {
    return header.discUserData.empty() && header.romSize >= ChecksummedRegionStart &&
           header.layout != &ByteSwappedLayout;
}

std::optional<MarsReading> marsOf(const LoadedHeader& header) {
    if (!isCartridge(header))
        return std::nullopt;
    MarsReading mars =
        ReadMarsProgram(std::span<const std::uint8_t, 8>(header.bytes.data(), 8), header.marsArea);
    if (mars.present.empty() && ReadSystem(consoleName(header)).system != System::Mega32X)
        return std::nullopt;
    return mars;
}

std::string_view userText(const LoadedHeader& header, const MarsUserField& field) {
    return {reinterpret_cast<const char*>(header.marsArea.data()) + (field.offset - MarsAreaStart),
            field.length};
}

std::string securityText(const MarsReading& mars) {
    const std::string crc = PadHex(ToHex(mars.securityCrc), 8);
    if (!mars.securityKnown)
        return "CRC-32 " + crc + ", not verified (no checksum of the real one is known)";
    return "CRC-32 " + crc + (*mars.securityKnown ? ", the real one" : ", not the real one");
}

std::optional<std::array<PicoReading, PicoReaderNames.size()>> picoOf(const LoadedHeader& header) {
    if (!isCartridge(header))
        return std::nullopt;
    const auto readings = ReadPicoName(consoleName(header));
    if (!anyPico(readings))
        return std::nullopt;
    return readings;
}

std::optional<PicoRegionInfo> picoRegion(const LoadedHeader& header) {
    return ReadPicoRegion(std::span<const std::uint8_t, 4>(header.bytes.data() + 0x1F0, 4));
}

} // namespace

void printMarsPico(const LoadedHeader& header, const ReportLine& line) {
    if (const auto mars = marsOf(header)) {
        std::string lacks;
        for (const MarsMark* mark : mars->missing)
            lacks.append(lacks.empty() ? "" : ", ").append(mark->what);
        line("32X initial program:", lacks.empty() ? "present" : "lacks " + lacks);
        line("32X security program:", securityText(*mars));
        line("", "readers differ: the 32X and jgenesis need the security program, rom-properties "
                 "the text at 0x512; PicoDrive (ADEN set) and ares (.32x name) read none of it");
        if (mars->has("module_name")) {
            for (const MarsUserField& field : MarsUserHeaderTable)
                line(field.label, field.length == 4
                                      ? FormatAddress(MarsUserNumber(header.marsArea, field))
                                      : visibleText(userText(header, field)));
        }
    }
    if (const auto readings = picoOf(header)) {
        std::string pico, other;
        for (const PicoReading& reading : *readings)
            (reading.match ? pico : other)
                .append((reading.match ? pico : other).empty() ? "" : ", ")
                .append(reading.reader);
        line("Pico:", "to " + pico + (other.empty() ? "" : "; not to " + other));
        const auto region = picoRegion(header);
        line("Pico region:", region ? std::string(region->name) + " by PicoDrive (version " +
                                          PadHex(ToHex(region->version), 2) + ")"
                                    : "none by PicoDrive (it takes its own default)");
    }
}

void addMarsPicoJson(Json& json, const LoadedHeader& header) {
    if (const auto mars = marsOf(header)) {
        Json marks;
        for (const MarsMark& mark : MarsMarkTable)
            marks[std::string(mark.key)] = mars->has(mark.key);
        Json user;
        for (const MarsUserField& field : MarsUserHeaderTable) {
            if (field.length == 4)
                user[std::string(field.key)] = MarsUserNumber(header.marsArea, field);
            else
                user[std::string(field.key)] = utf8Text(userText(header, field));
        }
        json["mars"] = {
            {"initial_program", mars->missing.empty()},
            {"marks", marks},
            {"security_crc32", PadHex(ToHex(mars->securityCrc), 8)},
            {"security_known", mars->securityKnown ? Json(*mars->securityKnown) : Json(nullptr)},
            {"user_header", user}};
    } else {
        json["mars"] = nullptr;
    }
    if (const auto readings = picoOf(header)) {
        Json readers = Json::array();
        for (const PicoReading& reading : *readings) {
            if (reading.match)
                readers.push_back(reading.reader);
        }
        const auto region = picoRegion(header);
        json["pico"] = {{"readers", readers},
                        {"region", region ? Json(region->key) : Json(nullptr)},
                        {"version_register", region ? Json(region->version) : Json(nullptr)}};
    } else {
        json["pico"] = nullptr;
    }
}

} // namespace quillon::cli
