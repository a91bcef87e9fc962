// SPDX-License-Identifier: MIT
#include "FieldKinds.h"

#include "HeaderReport.h"
#include "TextDisplay.h"

#include <array>

namespace quillon::cli {

namespace {

// "(0x190, 16": where a field lies, for help texts.
std::string where(const HeaderField& field) {
    return "0x" + ToHex(field.offset) + ", " + std::to_string(field.length);
}

std::string textHelp(const HeaderField& field) {
    // Before the header lies a disc's system area, which no cartridge has.
    return "Text of \"" + std::string(field.label) + "\" (" + where(field) + " characters at most" +
           (field.media == Media::Disc ? "; a Mega-CD disc's system area only" : "") + ")";
}

// Numbers: quillon-cli --help says how any of them is typed.
std::string addressHelp(const HeaderField& field) {
    return std::string(fieldName(field.label)) + " (" + where(field) +
           " bytes), hexadecimal up to FFFFFFFF";
}

std::string extraMemoryHelp(const HeaderField& field) {
    return "Save memory (" + where(field) +
           " bytes): none, or KIND:START-END with KIND sram-odd, sram-even, sram-word or eeprom "
           "and hexadecimal addresses";
}

std::string checksumHelp(const HeaderField& field) {
    return "Checksum to store (" + where(field) + " bytes), hexadecimal up to FFFF";
}

// A text up to its first zero byte, with a note where the file ends inside or before it.
std::string showText(const LoadedHeader& header, const HeaderField& field) {
    const std::string_view present = presentBytes(header, field.offset, field.length);
    if (present.empty())
        return "(past the end of the file)";
    std::string text = visibleText(present.substr(0, present.find('\0')));
    if (present.size() < field.length)
        text += " (the file ends after " + std::to_string(present.size()) + " of its " +
                std::to_string(field.length) + " bytes)";
    return text;
}

const std::uint8_t* wholeBytes(const LoadedHeader& header, const HeaderField& field) {
    return presentBytes(header, field.offset, field.length).size() == field.length
               ? header.bytes.data() + field.offset
               : nullptr;
}

std::string showAddress(const LoadedHeader& header, const HeaderField& field) {
    const std::uint8_t* bytes = wholeBytes(header, field);
    return bytes ? FormatAddress(ReadAddress(bytes))
                 : hexOrMissing(header, field.offset, field.length);
}

std::string accessText(const ExtraMemory& memory, MemoryAccess access) {
    const auto size = memory.size(access);
    return std::string(memoryAccessName(access)) +
           (size ? ", " + std::to_string(*size) + " bytes" : std::string());
}

std::optional<ExtraMemory> extraMemoryOf(const LoadedHeader& header, const HeaderField& field) {
    const std::uint8_t* bytes = wholeBytes(header, field);
    return bytes ? DecodeExtraMemory(bytes) : std::nullopt;
}

// A block that does not start with "RA" is shown as the text it holds.
std::string showExtraMemory(const LoadedHeader& header, const HeaderField& field) {
    const auto memory = extraMemoryOf(header, field);
    if (!memory)
        return showText(header, field);
    std::string text = "RA, type " + PadHex(ToHex(memory->type), 2) + " " +
                       PadHex(ToHex(memory->kindByte), 2) + " (" + std::string(memory->kind()) +
                       ", " + (memory->backedUp() ? "backed up" : "not backed up") + ", " +
                       accessText(*memory, memory->access()) + "), " +
                       FormatAddress(memory->start) + "-" + FormatAddress(memory->end);
    if (memory->accessByAddresses() != memory->access())
        text += "; by its addresses " + accessText(*memory, memory->accessByAddresses());
    return text;
}

std::string showChecksum(const LoadedHeader& header, const HeaderField& field) {
    return hexOrMissing(header, field.offset, field.length);
}

void addHex(Json& object, const LoadedHeader& header, const HeaderField& field) {
    object[std::string(field.key) + "_hex"] =
        hexBytes(presentBytes(header, field.offset, field.length));
}

void textJson(Json& object, const LoadedHeader& header, const HeaderField& field) {
    const std::string_view present = presentBytes(header, field.offset, field.length);
    object[std::string(field.key)] = utf8Text(present.substr(0, present.find('\0')));
    addHex(object, header, field);
}

// An address has no "_hex" member: its value is the bytes already.
void addressJson(Json& object, const LoadedHeader& header, const HeaderField& field) {
    const std::uint8_t* bytes = wholeBytes(header, field);
    object[std::string(field.key)] =
        bytes ? Json(FormatAddress(ReadAddress(bytes))) : Json(nullptr);
}

Json sizeJson(std::optional<std::uint64_t> size) { return size ? Json(*size) : Json(nullptr); }

void extraMemoryJson(Json& object, const LoadedHeader& header, const HeaderField& field) {
    Json& value = object[std::string(field.key)];
    if (const auto memory = extraMemoryOf(header, field))
        value = {{"type", PadHex(ToHex(memory->type), 2)},
                 {"kind", memory->kind()},
                 {"backed_up", memory->backedUp()},
                 {"access", memoryAccessName(memory->access())},
                 {"size", sizeJson(memory->size(memory->access()))},
                 {"address_access", memoryAccessName(memory->accessByAddresses())},
                 {"address_size", sizeJson(memory->size(memory->accessByAddresses()))},
                 {"start", FormatAddress(memory->start)},
                 {"end", FormatAddress(memory->end)}};
    else
        value = nullptr;
    addHex(object, header, field);
}

// The stored one; show gives the calculated one beside it.
void checksumJson(Json& object, const LoadedHeader& header, const HeaderField& field) {
    const auto stored = storedChecksum(header);
    object["stored_" + std::string(field.key)] = stored ? Json(*stored) : Json(nullptr);
}

constexpr std::array<FieldKindRow, FieldKindCount> kinds{{
    {FieldKind::Text, "TEXT", textHelp,
     [](std::string_view typed, const HeaderField& field) {
         return parseTextValue(typed, field.length);
     },
     showText, textJson},
    {FieldKind::Address, "HEX", addressHelp,
     [](std::string_view typed, const HeaderField&) { return parseAddressValue(typed); },
     showAddress, addressJson},
    {FieldKind::ExtraMemory, "KIND:START-END", extraMemoryHelp,
     [](std::string_view typed, const HeaderField&) { return parseExtraMemoryValue(typed); },
     showExtraMemory, extraMemoryJson},
    {FieldKind::Checksum, "HEX", checksumHelp,
     [](std::string_view typed, const HeaderField&) { return parseChecksumValue(typed); },
     showChecksum, checksumJson},
}};

static_assert([] {
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (static_cast<std::size_t>(kinds[i].kind) != i)
            return false;
    }
    return true;
}());

} // namespace

const FieldKindRow& fieldKind(FieldKind kind) { return kinds[static_cast<std::size_t>(kind)]; }

} // namespace quillon::cli
