// SPDX-License-Identifier: MIT
#include "MarsPicoLint.h"

#include "PicoReaders.h"
#include "SystemNames.h"

#include <string>

namespace quillon {

namespace {

const HeaderField& consoleName() { return headerField(FieldId::ConsoleName); }

std::span<const std::uint8_t> consoleNameBytes(const LoadedHeader& header) {
    return {header.bytes.data() + consoleName().offset, consoleName().length};
}

bool saysMars(const LoadedHeader& header) {
    return ReadSystem(consoleNameBytes(header)).system == System::Mega32X;
}

MarsReading marsOf(const LoadedHeader& header) {
    return ReadMarsProgram(std::span<const std::uint8_t, 8>(header.bytes.data(), 8),
                           header.marsArea);
}

std::string quotedName(const LoadedHeader& header) {
    std::string text = "\"";
    for (const std::uint8_t byte : consoleNameBytes(header))
        text += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
    return text + "\"";
}

void add(std::vector<LintFinding>& findings, std::string message, std::string effect) {
    findings.push_back({{},
                        LintLevel::Note,
                        fieldName(consoleName().label),
                        consoleName().offset,
                        consoleName().length,
                        std::move(message),
                        std::move(effect)});
}

// Who decides by what whether a ROM is a 32X game (disc-facts: PicoDrive pico/32x/memory.c,
// ares mia/medium/mega-32x.cpp, jgenesis s32x-core lib.rs, rom-properties MegaDrive.cpp).
constexpr std::string_view marsReaders =
    "PicoDrive starts the 32X when the 68000 sets ADEN at A15100, and ares when the file is "
    "named .32x, neither by these bytes";

} // namespace

void checkMarsMissing(const LoadedHeader& header, std::vector<LintFinding>& findings) {
    if (!saysMars(header))
        return;
    const MarsReading mars = marsOf(header);
    std::string lacks;
    for (const MarsMark* mark : mars.missing)
        lacks.append(lacks.empty() ? "" : ", ").append(mark->what);
    if (mars.securityKnown == false)
        lacks.append(lacks.empty() ? "" : ", ")
            .append("a known security program at 0x400-0x7FF (its CRC-32 is " +
                    PadHex(ToHex(mars.securityCrc), 8) + ")");
    if (lacks.empty())
        return;
    add(findings,
        "the console name " + quotedName(header) + " says 32X, but the ROM lacks " + lacks,
        "the 32X boots a cartridge only through the initial program, and jgenesis, as the 32X, "
        "only when 0x400-0x7FF equal its boot ROM's security program; rom-properties calls it "
        "32X only with the text at 0x512; " +
            std::string(marsReaders));
}

void checkMarsUnnamed(const LoadedHeader& header, std::vector<LintFinding>& findings) {
    const MarsReading mars = marsOf(header);
    if (saysMars(header) || !mars.carriesProgram())
        return;
    add(findings,
        "the ROM carries the 32X initial program (reset vector 000003F0, \"MARS CHECK MODE\" at "
        "0x3C0), but the console name " +
            quotedName(header) + " does not say \"SEGA 32X\"",
        std::string(marsReaders) + "; rom-properties goes by the text at 0x512 (" +
            (mars.has("security_text") ? "present" : "absent") +
            "); lists that go by the console name take it for a Mega Drive game");
}

void checkPicoReaders(const LoadedHeader& header, std::vector<LintFinding>& findings) {
    const auto readings = ReadPicoName(consoleNameBytes(header));
    if (!anyPico(readings) || allPico(readings))
        return;
    std::string pico, other;
    for (const PicoReading& reading : readings)
        (reading.match ? pico : other)
            .append((reading.match ? pico : other).empty() ? "" : ", ")
            .append(reading.reader);
    add(findings,
        "readers differ on the console name " + quotedName(header) + ": a Pico's to " + pico +
            ", not to " + other,
        "a reader that does not take it for a Pico runs it as a Mega Drive game, without the "
        "Pico's pen and storyware pages");
}

} // namespace quillon
