// SPDX-License-Identifier: MIT
#include "FileCommands.h"

#include "HeaderFile.h"
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

bool hasWholeHeader(const LoadedHeader& header) { return header.romSize >= ChecksummedRegionStart; }

// Two digits a byte, "--" for each byte past the end of the file.
std::string hexOrMissing(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length) {
    std::string hex = hexBytes(presentBytes(header, offset, length));
    hex.resize(2 * std::size_t{length}, '-');
    return hex;
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

bool hasTrademark(const LoadedHeader& header) { return HasTrademark(header.bytes); }

std::string describe(const ExtraMemory& memory) {
    return "RA, type " + PadHex(ToHex(memory.type), 2) + " (" +
           (memory.backedUp() ? "backed up" : "not backed up") + ", " +
           std::string(memory.access()) + "), " + FormatAddress(memory.start) + "-" +
           FormatAddress(memory.end);
}

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

std::string shortFileText(const LoadedHeader& header) {
    return std::to_string(header.fileSize) + " bytes, too short for a ROM header (" +
           std::to_string(ChecksummedRegionStart) + " bytes)";
}

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

Json headerJson(const std::string& path, const LoadedHeader& header) {
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
    return json;
}

void refuse(const std::string& why, Streams streams) {
    streams.err << "quillon-cli: " << displayText(why) << "; nothing written\n";
}

const std::string interleavedText =
    ": an interleaved copier (SMD) image; convert it to a plain binary image first";

// Loads a file's header, or says on the error stream why it could not.
std::optional<LoadedHeader> load(const std::string& path, Streams streams) {
    LoadResult result = LoadHeader(path);
    if (!result.header)
        streams.err << "quillon-cli: cannot read " << displayText(result.error) << '\n';
    return std::move(result.header);
}

int write(const std::string& path, const HeaderEdit& edit, Streams streams) {
    const WriteResult result = WriteHeaderEdit(path, edit);
    switch (result.status) {
    case WriteStatus::Refused:
        refuse(result.error, streams);
        return BadInput;
    case WriteStatus::Failed:
        streams.err << "quillon-cli: cannot write " << displayText(result.error) << '\n';
        return FileFailed;
    case WriteStatus::Written:
        break;
    }
    if (result.originalSize < ChecksummedRegionStart)
        streams.err << "quillon-cli: warning: " << displayText(path) << " had "
                    << result.originalSize << " bytes, too few for a ROM header ("
                    << ChecksummedRegionStart << " bytes); it grew to hold what was written\n";
    return Done;
}

std::string quotedText(const std::string& text) {
    const std::string shown = displayText(text);
    return shown.starts_with('"') ? shown : '"' + shown + '"';
}

// A checksum as a script gives it: hexadecimal digits, with leading zeros and spaces around
// them if need be, and no more than 16 bits.
std::optional<ChecksumBytes> parseChecksumArgument(const std::string& typed, Streams streams) {
    std::string_view digits = typed;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!digits.empty() && blank(digits.front()))
        digits.remove_prefix(1);
    while (!digits.empty() && blank(digits.back()))
        digits.remove_suffix(1);
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string problem;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isHex)) {
        problem = "is not hexadecimal";
    } else {
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
        if (digits.size() > 4)
            problem = "is more than FFFF, the largest 16-bit checksum";
    }
    if (!problem.empty()) {
        streams.err << "quillon-cli: --checksum refused: " << quotedText(typed) << ' ' << problem
                    << "; nothing written\n";
        return std::nullopt;
    }
    return SplitChecksum(digits.empty() ? 0 : *parseHexDigits(digits));
}

// What a set wrote, for its line of output: the fields' labels and the checksum.
std::string summary(const HeaderEdit& edit) {
    std::string text;
    for (const HeaderField& field : HeaderFieldTable) {
        if (edit.texts[field.index]) {
            std::string_view label = field.label;
            label.remove_suffix(label.ends_with(':') ? 1 : 0);
            text.append(text.empty() ? "" : ", ").append(label);
        }
    }
    if (edit.checksum)
        text.append(text.empty() ? "" : ", ")
            .append("checksum ")
            .append(FormatStoredChecksum(edit.checksum->high, edit.checksum->low));
    return text;
}

} // namespace

int showFiles(const std::vector<std::string>& paths, bool json, Streams streams) {
    int status = Done;
    bool first = true;
    for (const std::string& path : paths) {
        const auto header = load(path, streams);
        if (!header) {
            status = FileFailed;
            continue;
        }
        if (json) {
            streams.out
                << headerJson(path, *header).dump(-1, ' ', false, Json::error_handler_t::replace)
                << '\n';
        } else {
            streams.out << (first ? "" : "\n");
            printHeader(path, *header, streams.out);
        }
        first = false;
    }
    return status;
}

int setFields(const SetRequest& request, Streams streams) {
    HeaderEdit edit;
    bool anything = request.checksum || request.fixChecksum;
    for (const HeaderField& field : HeaderFieldTable) {
        const auto i = field.index;
        if (!request.texts[i])
            continue;
        anything = true;
        Encoded encoded = strictBytes(*request.texts[i]);
        if (!encoded.problem.empty() || encoded.bytes.size() > field.length) {
            streams.err << "quillon-cli: " << fieldNames[i].option << " refused: "
                        << (encoded.problem.empty()
                                ? "longer than the field's " + std::to_string(field.length) +
                                      " characters"
                                : encoded.problem)
                        << "; nothing written\n";
            return BadInput;
        }
        edit.texts[i] = std::move(encoded.bytes);
    }
    if (!anything) {
        streams.err << "quillon-cli: set names no field and no checksum; nothing written\n";
        return BadInput;
    }
    if (request.checksum) {
        edit.checksum = parseChecksumArgument(*request.checksum, streams);
        if (!edit.checksum)
            return BadInput;
    }
    if (request.fixChecksum) {
        const auto header = load(request.path, streams);
        if (!header)
            return FileFailed;
        if (header->interleaved) {
            refuse(request.path + interleavedText, streams);
            return BadInput;
        }
        edit.checksum = SplitChecksum(header->calculated);
    }
    const int status = write(request.path, edit, streams);
    if (status == Done)
        streams.out << displayText(request.path) << ": written: " << summary(edit) << '\n';
    return status;
}

int checkFiles(const std::vector<std::string>& paths, Streams streams) {
    int status = Done;
    for (const std::string& path : paths) {
        const auto header = load(path, streams);
        if (!header) {
            status = std::max<int>(status, FileFailed);
        } else if (header->interleaved || !hasWholeHeader(*header)) {
            streams.err << "quillon-cli: " << displayText(path)
                        << (header->interleaved
                                ? interleavedText
                                : ": " + shortFileText(*header) + "; not a ROM image")
                        << '\n';
            status = std::max<int>(status, BadInput);
        } else if (checksumMatches(*header)) {
            streams.out << displayText(path) << ": ok " << *storedChecksum(*header) << '\n';
        } else {
            streams.out << displayText(path) << ": checksum mismatch: stored "
                        << *storedChecksum(*header) << ", calculated "
                        << calculatedChecksum(*header) << '\n';
            status = std::max<int>(status, ChecksumMismatch);
        }
    }
    return status;
}

int fixFiles(const std::vector<std::string>& paths, Streams streams) {
    int status = Done;
    for (const std::string& path : paths) {
        const auto header = load(path, streams);
        if (!header) {
            status = std::max<int>(status, FileFailed);
        } else if (header->interleaved) {
            refuse(path + interleavedText, streams);
            status = std::max<int>(status, BadInput);
        } else if (checksumMatches(*header)) {
            streams.out << displayText(path) << ": already " << *storedChecksum(*header) << '\n';
        } else if (const int written =
                       write(path, {SplitChecksum(header->calculated), {}}, streams);
                   written != Done) {
            status = std::max(status, written);
        } else {
            streams.out << displayText(path) << ": stored " << calculatedChecksum(*header)
                        << " (was "
                        << hexOrMissing(*header, ChecksumWord::offset, ChecksumWord::length)
                        << ")\n";
        }
    }
    return status;
}

} // namespace quillon::cli
