// SPDX-License-Identifier: MIT
#include "HeaderLint.h"

#include "DeviceCodes.h"
#include "DiscSystemArea.h"
#include "EnumNames.h"
#include "LintContext.h"
#include "LintMends.h"
#include "MarsPicoLint.h"
#include "RegionCodes.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

constexpr std::uint32_t regionOffset = headerField(FieldId::CountryCode).offset;
constexpr std::uint32_t mapperWindowEnd = 0x3FFFFF; // 4 MiB: what the Sega mapper shows at once

std::string hex(std::uint32_t value, int width) { return PadHex(ToHex(value), width); }

// Printable ASCII as it is, anything else as \xHH, in quotes.
std::string shownText(std::string_view bytes) {
    std::string text = "\"";
    for (const char byte : bytes) {
        const auto c = static_cast<std::uint8_t>(byte);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            text += byte;
        else
            text += hexEscape(c);
    }
    return text + "\"";
}

std::string shown(const HeaderBytes& bytes, std::uint32_t offset, std::uint32_t length) {
    return shownText({reinterpret_cast<const char*>(bytes.data()) + offset, length});
}

void add(std::vector<LintFinding>& findings, std::string_view field, std::uint32_t offset,
         std::uint32_t length, std::string message, std::string effect) {
    findings.push_back(
        {{}, LintLevel::Note, field, offset, length, std::move(message), std::move(effect)});
}

// A finding on the first `length` bytes of a field, or on all of it.
void addAt(std::vector<LintFinding>& findings, const HeaderField& field, std::string message,
           std::string effect, std::optional<std::uint32_t> length = {}) {
    add(findings, fieldName(field.label), field.offset, length.value_or(field.length),
        std::move(message), std::move(effect));
}

std::string shown(const HeaderBytes& bytes, const HeaderField& field) {
    return shown(bytes, field.offset, field.length);
}

// The 68000 sees 24 address bits, and the work RAM repeats every 64 KiB from E00000 on.
bool isWorkRam(std::uint32_t start, std::uint32_t end) {
    return (start & 0xFFFF) == 0 && ((start >> 16) & 0xFF) >= 0xE0 && end == (start | 0xFFFF);
}

std::string sizeText(std::optional<std::uint64_t> size) {
    return size ? std::to_string(*size) + " bytes" : "no size";
}

// --- checks over the whole file ---

void checkShortFile(const LintContext& c, std::vector<LintFinding>& findings) {
    if (!c.complete)
        add(findings, "File", 0, 0,
            "the file has " + std::to_string(c.header.romSize) +
                " bytes, too few for a ROM header (" + std::to_string(ChecksummedRegionStart) +
                " bytes)",
            "no console or emulator finds a header in it");
}

void checkNotRom(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.header.notRom)
        add(findings, "File", 0, 0, NotRomText(*c.header.notRom),
            "no console or emulator runs it as a cartridge");
}

void checkByteSwapped(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.header.layout == &ByteSwappedLayout)
        addAt(findings, headerField(FieldId::ConsoleName),
              "the console name reads " +
                  shown(c.bytes, headerField(FieldId::ConsoleName).offset, 4) +
                  ": a byte-swapped image, each word's two bytes in the wrong order",
              "no console, flash cart or emulator reads it; convert it with quillon-cli convert "
              "IN OUT --to bin",
              4);
}

void checkOddSize(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.header.romSize % 2 != 0)
        add(findings, "File", 0, 0,
            "the ROM has an odd number of bytes (" + std::to_string(c.header.romSize) + ")",
            "the checksum leaves the last byte out, and a cartridge holds whole words: copiers "
            "and flash carts drop or pad it");
}

// --- checks of the header ---

void checkTrademark(const LintContext& c, std::vector<LintFinding>& findings) {
    if (!HasTrademark(c.bytes))
        addAt(findings, headerField(FieldId::ConsoleName),
              "the console name starts " +
                  shown(c.bytes, headerField(FieldId::ConsoleName).offset, 5) +
                  ", neither \"SEGA\" nor \" SEGA\"",
              "a console with the trademark check (TMSS) will not start it", 5);
}

void checkChecksum(const LintContext& c, std::vector<LintFinding>& findings) {
    const RomChecksum stored = static_cast<RomChecksum>(c.bytes[ChecksumWord::offset] << 8 |
                                                        c.bytes[ChecksumWord::offset + 1]);
    if (stored != c.header.calculated)
        add(findings, "Checksum", ChecksumWord::offset, ChecksumWord::length,
            "stored " + FormatRomChecksum(stored) + ", calculated " +
                FormatRomChecksum(c.header.calculated),
            "games that check themselves stop on an error screen; Genesis Plus GX recognises "
            "some special cartridges by the pair (stored, calculated), so fixing it may change "
            "how it runs this ROM");
}

void checkRomStart(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.romStart != 0)
        addAt(findings, headerField(FieldId::RomStart),
              "the ROM starts at " + FormatAddress(c.romStart) + ", not 00000000",
              "the ROM always starts at address 0; BlastEm sizes the ROM and its mirrors from "
              "this range");
}

// The declared end on the `side` ("before", "after") of the file's last byte.
void addRomEndBesideFile(const LintContext& c, std::vector<LintFinding>& findings,
                         std::string_view side, std::string effect) {
    addAt(findings, headerField(FieldId::RomEnd),
          "the ROM ends at " + FormatAddress(c.romEnd) + ", " + std::string(side) +
              " the file's last byte at " +
              FormatAddress(static_cast<std::uint32_t>(c.romEndInFile)),
          std::move(effect));
}

void checkRomEndShort(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.romEnd < c.romEndInFile && !(c.ssf && c.romEnd == mapperWindowEnd))
        addRomEndBesideFile(c, findings, "before",
                            "BlastEm mirrors the ROM by the declared end and may place save RAM "
                            "over the rest, which then cannot be read");
}

void checkRomEndBeyond(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.romEnd > c.romEndInFile && !(c.ssf && c.romEnd <= mapperWindowEnd))
        addRomEndBesideFile(c, findings, "after",
                            "BlastEm sizes the ROM's mirrors by the declared end and decides from "
                            "it where save RAM lies; set it to the file's end");
}

void checkRomEndFlat(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.romEnd > mapperWindowEnd && !c.ssf)
        addAt(findings, headerField(FieldId::RomEnd),
              "the ROM ends at " + FormatAddress(c.romEnd) + ", past 4 MiB, without \"SEGA SSF\"",
              "jgenesis reads it as a flat-mapped ROM of that size (no bank switching)");
}

void checkRamRange(const LintContext& c, std::vector<LintFinding>& findings) {
    if (isWorkRam(c.ramStart, c.ramEnd))
        return;
    addAt(findings, headerField(FieldId::RamStart),
          "RAM " + FormatAddress(c.ramStart) + "-" + FormatAddress(c.ramEnd) +
              " is not the work RAM (00FF0000-00FFFFFF or one of its mirrors)",
          "the work RAM is always at FF0000-FFFFFF; a reader that trusts this range gets its "
          "place or size wrong",
          8);
}

void checkExtraMemory(const LintContext& c, std::vector<LintFinding>& findings) {
    if (!c.memory)
        return;
    const ExtraMemory& memory = *c.memory;
    const HeaderField& field = headerField(FieldId::ExtraMemory);
    const std::string range = FormatAddress(memory.start) + "-" + FormatAddress(memory.end);
    if (!memory.wellFormed())
        addAt(findings, field,
              "type bytes " + hex(memory.type, 2) + " " + hex(memory.kindByte, 2) +
                  " are not %1x1yz000 followed by 20 (SRAM) or 40 (EEPROM)",
              "Genesis Plus GX ignores the type byte, BlastEm takes odd or even bytes from it, "
              "and rom-properties names no kind: they may disagree on the save memory");
    if (memory.start > memory.end) {
        addAt(findings, field, "the save memory " + range + " starts after its end",
              "emulators find no save memory, or one that wraps around");
        return;
    }
    const MemoryAccess byType = memory.access();
    const MemoryAccess byAddresses = memory.accessByAddresses();
    if (byType != MemoryAccess::Other && byType != byAddresses)
        addAt(findings, field,
              "the type byte says " + std::string(memoryAccessName(byType)) + " (" +
                  sizeText(memory.size(byType)) + ") but the addresses " + range + " say " +
                  std::string(memoryAccessName(byAddresses)) + " (" +
                  sizeText(memory.size(byAddresses)) + ")",
              "BlastEm reads " + std::string(memoryAccessName(byType)) +
                  " from the type byte; "
                  "ares reads " +
                  std::string(memoryAccessName(byAddresses)) + " from the addresses");
    const auto size = memory.size(byType == MemoryAccess::Other ? byAddresses : byType);
    if (size && *size > 0x10000)
        addAt(findings, field,
              "the save memory " + range + " holds " + sizeText(size) + ", more than 64 KiB",
              "Genesis Plus GX gives a save memory 64 KiB at most");
    const std::uint32_t start = memory.start & 0xFFFFFF;
    if (start >= 0x800000 || start == 0xFF0000)
        addAt(findings, field, "the save memory starts at " + FormatAddress(memory.start),
              start == 0xFF0000 ? "Genesis Plus GX takes it for the work RAM and gives no save "
                                  "memory"
                                : "Genesis Plus GX moves it to 00200000-0020FFFF");
    if (memory.start <= c.romEnd && memory.end >= c.romStart)
        addAt(findings, field,
              "the save memory " + range + " lies within the ROM " + FormatAddress(c.romStart) +
                  "-" + FormatAddress(c.romEnd),
              "the cartridge must switch between them (register A130F1); BlastEm puts save RAM "
              "behind the mapper when the ROM reaches it");
}

void checkExtraMemoryUnknown(const LintContext& c, std::vector<LintFinding>& findings) {
    const HeaderField& field = headerField(FieldId::ExtraMemory);
    const std::uint8_t first = c.bytes[field.offset];
    const std::uint8_t second = c.bytes[field.offset + 1];
    const auto blank = [](std::uint8_t b) { return b == ' ' || b == 0; };
    if (!c.memory && !(blank(first) && blank(second)))
        addAt(findings, field,
              "the block starts " + shown(c.bytes, field.offset, 2) + ", neither \"RA\" nor blank",
              "emulators look for \"RA\" and find no save memory", 2);
}

const HeaderField& regionField() { return headerField(FieldId::CountryCode); }

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& text : texts)
        all.append(all.empty() ? "" : "; ").append(text);
    return all;
}

void checkRegionName(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.region.style == RegionStyle::Name)
        addAt(findings, regionField(),
              "the region is spelt as a name, \"" + c.region.spelling + "\" (" +
                  regionNames(c.region.regions) + " to Genesis Plus GX and ares)",
              joined(c.region.disputes), static_cast<std::uint32_t>(c.region.spelling.size()));
}

void checkRegionEmpty(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.region.style == RegionStyle::Unknown && c.region.unknown.empty())
        addAt(findings, regionField(), "names no region",
              "each emulator picks its own: Genesis Plus GX the Americas, then Japan, then "
              "Europe; ares any region");
}

void checkRegionUnknown(const LintContext& c, std::vector<LintFinding>& findings) {
    if (!c.region.unknown.empty())
        addAt(findings, regionField(),
              "the region " + shown(c.bytes, regionField()) +
                  " holds what is no region letter or mask digit: " + shownText(c.region.unknown),
              "no emulator looked at decodes them: each skips them or falls back on its default "
              "region, and PicoDrive stops reading at a lower-case letter");
}

void checkRegionAmbiguous(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.region.style != RegionStyle::Name && !c.region.disputes.empty())
        addAt(findings, regionField(),
              "the region " + shown(c.bytes, regionField()) + " reads as " +
                  regionNames(c.region.regions) + " (" +
                  std::string(regionStyleKey(c.region.style)) + ")",
              "readers differ: " + joined(c.region.disputes));
}

void checkDeviceUnknown(const LintContext& c, std::vector<LintFinding>& findings) {
    const HeaderField& field = headerField(FieldId::DeviceSupport);
    for (const DeviceEntry& device :
         ReadDevices({c.bytes.data() + field.offset, field.length}, field.offset)) {
        if (!device.known)
            add(findings, fieldName(field.label), device.offset, 1,
                "the code " + shown(c.bytes, device.offset, 1) + " is no known device",
                "emulators ignore it (Genesis Plus GX and ares act only on 6 and C)");
    }
}

// Whether text has the shape pattern gives: 'A' an upper-case letter, '9' a digit, '*' any
// byte; any other character stands for itself.
bool hasShape(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool fits = pattern[i] == 'A'   ? std::isupper(c) != 0
                          : pattern[i] == '9' ? std::isdigit(c) != 0
                                              : pattern[i] == '*' || pattern[i] == text[i];
        if (!fits)
            return false;
    }
    return true;
}

std::string_view textAt(const HeaderBytes& bytes, const HeaderField& field) {
    return {reinterpret_cast<const char*>(bytes.data()) + field.offset, field.length};
}

void checkCopyright(const LintContext& c, std::vector<LintFinding>& findings) {
    const HeaderField& field = headerField(FieldId::Copyright);
    const std::string_view text = textAt(c.bytes, field);
    constexpr std::string_view months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const bool month =
        std::find(std::begin(months), std::end(months), text.substr(13)) != std::end(months);
    if (!hasShape(text, "(C)**** 9999.***") || !month)
        addAt(findings, field,
              "the copyright " + shown(c.bytes, field) +
                  " is not \"(C)\", 4 characters, a space, the year, \".\" and the month "
                  "(JAN-DEC)",
              "no console or emulator reads it; catalogues and tools that take the maker, year "
              "and month from it do");
}

void checkSerial(const LintContext& c, std::vector<LintFinding>& findings) {
    const HeaderField& field = headerField(FieldId::SerialNumber);
    if (!hasShape(textAt(c.bytes, field), "AA ********-99"))
        addAt(findings, field,
              "the serial " + shown(c.bytes, field) +
                  " is not two letters, a space, 8 characters, \"-\" and two digits",
              "Genesis Plus GX and ares recognise some games by their serial (save memory, "
              "region and lock-on exceptions); catalogues sort by it");
}

void checkTextControl(const LintContext& c, std::vector<LintFinding>& findings) {
    const auto check = [&](std::string_view label, std::uint32_t offset, std::uint32_t length,
                           bool savedByWindow) {
        for (std::uint32_t i = offset; i < offset + length; ++i) {
            const std::uint8_t b = c.bytes[i];
            if (b >= 0x20 && b != 0x7F)
                continue;
            add(findings, fieldName(label), i, 1,
                "byte " + hex(b, 2) + " at 0x" + ToHex(i) + " is a control character",
                b == 0 && savedByWindow ? "readers end the text at it, and a save from the window "
                                          "writes spaces from it on"
                                        : "readers show it as nothing, a box or the end of the "
                                          "text");
            return;
        }
    };
    for (const HeaderField& field : HeaderFields) {
        if (field.kind == FieldKind::Text && field.media != Media::Disc)
            check(field.label, field.offset, field.length, field.windowEdits);
    }
}

// --- checks of a disc's first sector ---

// Readers of the disc's region: Genesis Plus GX, PicoDrive and BlastEm go by byte 0x20B of the
// security program, ares and rom-properties by its CRC-32, jgenesis (and the MiSTer core, by
// its BIOS) by the letters at 0x1F0 (jgenesis issue #624, Genesis Plus GX issue #195). A
// reader that boots the disc in none of the regions the letters name disagrees.
void checkDiscRegion(const LintContext& c, std::vector<LintFinding>& findings) {
    if (c.header.discUserData.empty() || c.region.regions.empty())
        return;
    std::vector<std::string> differ;
    for (const DiscRegionReading& reading : ReadDiscRegion(DiscUserData(c.header))) {
        const bool shared =
            std::any_of(reading.regions.begin(), reading.regions.end(), [&](Region region) {
                return std::find(c.region.regions.begin(), c.region.regions.end(), region) !=
                       c.region.regions.end();
            });
        if (!reading.regions.empty() && !shared)
            differ.push_back(std::string(reading.reader) + ": " + regionNames(reading.regions));
    }
    if (!differ.empty())
        addAt(findings, regionField(),
              "the region " + shown(c.bytes, regionField()) + " reads as " +
                  regionNames(c.region.regions) + ", but the security program at 0x200 says " +
                  joined(differ),
              "readers that go by the security program boot it so; jgenesis goes by these "
              "letters (jgenesis issue #624, Genesis Plus GX issue #195)");
}

void checkDiscSector(const LintContext& c, std::vector<LintFinding>& findings) {
    const auto& check = c.header.firstSectorCheck;
    if (check && !(check->edcOk && check->eccOk))
        add(findings, "File", 0, 0,
            std::string("the first sector's ") +
                (check->edcOk   ? "ECC"
                 : check->eccOk ? "EDC"
                                : "EDC and ECC") +
                " do not verify",
            "a reader that checks them takes the sector for damaged; quillon-cli set rewrites "
            "them with any header edit");
}

void checkCd32x(const LintContext& c, std::vector<LintFinding>& findings) {
    if (!c.header.discUserData.empty() && IsCd32x(DiscUserData(c.header)))
        addAt(findings, headerField(FieldId::ConsoleName),
              "the console name is \"SEGA 32X\": a disc for the 32X and Mega-CD together",
              "jgenesis runs it as a CD32X disc (is_cd_32x_disc), and rom-properties names it so",
              8);
}

enum class Scope { Format, File, Header };

// A rule's Media: a cartridge's ROM (its checksum, ranges, save memory and size mean nothing on
// a disc), a disc's first sector, or either.

struct Rule {
    LintRule rule;
    // Format rules run on every file, File rules on a ROM image, Header rules only on one that
    // holds the whole header in order.
    Scope scope;
    Media media = Media::Any;
};

// Each rule names the behaviour it rests on: the console's, or a named emulator's source.
constexpr Rule rules[] = {
    {{"not-a-rom", LintLevel::Error, "the file is a known other format (an archive, a picture...)",
      "the formats' own signatures", checkNotRom},
     Scope::Format},
    {{"short-file", LintLevel::Error, "the file is shorter than a ROM header",
      "the console's memory map", checkShortFile},
     Scope::File},
    {{"byte-swapped", LintLevel::Error, "the image has the two bytes of every word swapped",
      "the console reads words high byte first", checkByteSwapped},
     Scope::File},
    {{"odd-size", LintLevel::Warning, "the ROM has an odd number of bytes",
      "the checksum's rule; a cartridge holds 16-bit words", checkOddSize, mendOddSize},
     Scope::Header,
     Media::Cartridge},
    {{"tmss", LintLevel::Error, "the console name does not start with \"SEGA\" or \" SEGA\"",
      "the console's trademark check (TMSS)", checkTrademark, mendTrademark},
     Scope::Header},
    {{"checksum", LintLevel::Error, "the stored checksum differs from the calculated one",
      "games' own checks; Genesis Plus GX core/cart_hw/md_cart.c", checkChecksum, mendChecksum},
     Scope::Header,
     Media::Cartridge},
    {{"rom-start", LintLevel::Warning, "the ROM start is not 0", "BlastEm romdb.c", checkRomStart,
      mendRomStart},
     Scope::Header,
     Media::Cartridge},
    {{"rom-end-short", LintLevel::Warning, "the declared ROM ends before the file does",
      "BlastEm romdb.c (ROM mirroring, save-RAM placement)", checkRomEndShort, mendRomEnd},
     Scope::Header,
     Media::Cartridge},
    {{"rom-end-beyond", LintLevel::Warning,
      "the declared ROM ends after the file does (SEGA SSF: up to 003FFFFF is fine)",
      "BlastEm romdb.c (ROM mirroring, save-RAM placement)", checkRomEndBeyond, mendRomEnd},
     Scope::Header,
     Media::Cartridge},
    {{"rom-end-flat", LintLevel::Note, "the ROM ends past 4 MiB without \"SEGA SSF\"",
      "jgenesis issue #656 (flat-mapped ROMs)", checkRomEndFlat, mendRomEndFlat},
     Scope::Header,
     Media::Cartridge},
    {{"ram-range", LintLevel::Warning, "the RAM range is not the work RAM or a mirror of it",
      "the console's memory map", checkRamRange, mendRamRange},
     Scope::Header,
     Media::Cartridge},
    {{"extra-memory", LintLevel::Warning,
      "a save-memory block that is malformed, empty, larger than 64 KiB, misplaced, inside "
      "the ROM, or whose type byte and addresses disagree",
      "Genesis Plus GX core/cart_hw/sram.c, BlastEm romdb.c, ares (address parity)",
      checkExtraMemory, mendExtraMemory},
     Scope::Header,
     Media::Cartridge},
    {{"extra-memory-unknown", LintLevel::Note, "0x1B0 is neither \"RA\" nor blank",
      "Genesis Plus GX, BlastEm, ares and PicoDrive look for \"RA\"", checkExtraMemoryUnknown,
      mendExtraMemoryUnknown},
     Scope::Header,
     Media::Cartridge},
    {{"region-name", LintLevel::Note, "the region is spelt as a name (USA, EUR, JAPAN...)",
      "Genesis Plus GX get_region and ares read names; BlastEm, PicoDrive and MiSTer read letters",
      checkRegionName, mendRegionName},
     Scope::Header},
    {{"region-empty", LintLevel::Warning, "the region names no region",
      "Genesis Plus GX and ares defaults", checkRegionEmpty, mendRegionChoice},
     Scope::Header},
    {{"region-unknown", LintLevel::Warning, "the region holds a character no reader decodes",
      "Genesis Plus GX, ares, BlastEm, PicoDrive, MiSTer, rom-properties", checkRegionUnknown,
      mendRegionUnknown},
     Scope::Header},
    {{"region-ambiguous", LintLevel::Note,
      "readers decode the region differently (a lone E, K, W, the Asia bit, 4/8/A/B/F)",
      "ares PR #1824, MiSTer issue #138 (older decoders), BlastEm, rom-properties",
      checkRegionAmbiguous, mendRegionChoice},
     Scope::Header},
    {{"device-unknown", LintLevel::Note, "a device code outside the known table",
      "Sega's header documentation; Genesis Plus GX and ares input setup", checkDeviceUnknown,
      mendDeviceUnknown},
     Scope::Header},
    {{"copyright-format", LintLevel::Note,
      "the copyright is not \"(C)\" + 4 characters + space + year + \".\" + month",
      "Sega's header documentation", checkCopyright, mendCopyright},
     Scope::Header},
    {{"serial-format", LintLevel::Note,
      "the serial is not two letters, space, 8 characters, \"-\", two digits",
      "Sega's header documentation; Genesis Plus GX and ares game exceptions", checkSerial,
      mendSerial},
     Scope::Header},
    {{"text-control", LintLevel::Note, "a control byte or 0x00 in a text field",
      "the window's save (spaces from a 0x00 on); text readers", checkTextControl, mendTextControl},
     Scope::Header},
    {{"disc-region", LintLevel::Warning,
      "the region letters at 0x1F0 disagree with the region of the disc's security program",
      "jgenesis issue #624, Genesis Plus GX issue #195; Genesis Plus GX core/loadrom.c, "
      "PicoDrive pico/media.c, BlastEm genesis.c (byte 0x20B), ares mia/medium/mega-cd.cpp and "
      "rom-properties MegaDrive.cpp (CRC-32 of the program), jgenesis segacd-core api.rs (0x1F0)",
      checkDiscRegion, mendDiscRegion},
     Scope::Header,
     Media::Disc},
    {{"disc-sector", LintLevel::Error, "the raw first sector's EDC or ECC does not verify",
      "ECMA-130 (EDC, P and Q parities); chdman keeps a sector's ECC only when it verifies",
      checkDiscSector},
     Scope::Header,
     Media::Disc},
    {{"disc-cd32x", LintLevel::Note, "the disc is a CD32X disc (\"SEGA 32X\" at 0x100)",
      "rom-properties MegaDrive.cpp; jgenesis segacd-core lib.rs is_cd_32x_disc", checkCd32x},
     Scope::Header,
     Media::Disc},
    {{"mars-missing", LintLevel::Error,
      "the console name says 32X, but the 32X initial program is missing",
      "ClassiCube m68k_crt0.s (reset vector 3F0), rom-properties md_structs.h and MegaDrive.cpp, "
      "jgenesis s32x-core lib.rs and issue #259 (security program)",
      [](const LintContext& c, std::vector<LintFinding>& f) { checkMarsMissing(c.header, f); },
      mendMarsMissing},
     Scope::Header,
     Media::Cartridge},
    {{"mars-unnamed", LintLevel::Warning,
      "the ROM carries the 32X initial program, but the console name does not say 32X",
      "PicoDrive pico/32x/memory.c, ares mia/medium/mega-32x.cpp, rom-properties MegaDrive.cpp",
      [](const LintContext& c, std::vector<LintFinding>& f) { checkMarsUnnamed(c.header, f); },
      mendMarsUnnamed},
     Scope::Header,
     Media::Cartridge},
    {{"pico-readers", LintLevel::Note, "readers differ on whether the console name is a Pico's",
      "Genesis Plus GX core/loadrom.c, PicoDrive pico/media.c, BlastEm system.c, rom-properties "
      "MegaDrive.cpp",
      [](const LintContext& c, std::vector<LintFinding>& f) { checkPicoReaders(c.header, f); },
      mendPicoReaders},
     Scope::Header,
     Media::Cartridge},
};

const std::vector<LintRule>& ruleList() {
    static const std::vector<LintRule> list = [] {
        std::vector<LintRule> all;
        for (const Rule& row : rules)
            all.push_back(row.rule);
        return all;
    }();
    return list;
}

} // namespace

constexpr EnumNames<LintLevel, 3> lintLevelNames{
    {{{LintLevel::Error, "error"}, {LintLevel::Warning, "warning"}, {LintLevel::Note, "note"}}}};

std::string_view lintLevelName(LintLevel level) { return lintLevelNames.name(level); }

std::span<const LintRule> LintRules() { return ruleList(); }

const LintRule* findLintRule(std::string_view id) {
    const auto& list = ruleList();
    const auto found = std::find_if(list.begin(), list.end(),
                                    [id](const LintRule& rule) { return rule.id == id; });
    return found == list.end() ? nullptr : &*found;
}

std::vector<LintFinding> LintHeader(const LoadedHeader& header) {
    const HeaderBytes& b = header.bytes;
    const LintContext context{
        header,
        b,
        header.romSize >= ChecksummedRegionStart,
        header.romSize == 0 ? 0 : header.romSize - 1,
        IsSsf(b),
        ReadAddress(&b[headerField(FieldId::RomStart).offset]),
        ReadAddress(&b[headerField(FieldId::RomEnd).offset]),
        ReadAddress(&b[headerField(FieldId::RamStart).offset]),
        ReadAddress(&b[headerField(FieldId::RamEnd).offset]),
        DecodeExtraMemory(&b[headerField(FieldId::ExtraMemory).offset]),
        ReadRegion({b.data() + regionOffset, ChecksummedRegionStart - regionOffset}),
    };
    std::vector<LintFinding> findings;
    for (const Rule& row : rules) {
        if ((row.scope != Scope::Format && header.notRom) ||
            (row.scope == Scope::Header &&
             (!context.complete || header.layout == &ByteSwappedLayout)))
            continue;
        if (row.media != Media::Any &&
            (row.media == Media::Disc) != header.layout->discUserData.has_value())
            continue;
        const std::size_t before = findings.size();
        row.rule.check(context, findings);
        for (std::size_t i = before; i < findings.size(); ++i) {
            findings[i].id = row.rule.id;
            findings[i].level = row.rule.level;
            if (row.rule.mend)
                row.rule.mend(context, findings[i]);
        }
    }
    return findings;
}

} // namespace quillon
