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

std::string storedChecksum(const LoadedHeader& header) {
    return FormatStoredChecksum(header.storedHigh, header.storedLow);
}

std::string calculatedChecksum(const LoadedHeader& header) {
    return FormatRomChecksum(header.calculated);
}

bool checksumMatches(const LoadedHeader& header) {
    return storedChecksum(header) == calculatedChecksum(header);
}

// The bytes of a field that the file really has; a short file may end inside or before it.
std::string_view presentBytes(const LoadedHeader& header, const HeaderField& field) {
    const std::string_view all = header.fieldBytes[field.index];
    const auto present = header.fileSize > field.offset ? header.fileSize - field.offset : 0;
    return all.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(present, all.size())));
}

void printHeader(const std::string& path, const LoadedHeader& header, std::ostream& out) {
    constexpr int labelWidth = 22;
    out << path << '\n';
    for (const HeaderField& field : HeaderFieldTable)
        out << "  " << std::left << std::setw(labelWidth) << field.label
            << visibleText(header.texts[field.index]) << '\n';
    out << "  " << std::setw(labelWidth) << "Stored checksum:" << storedChecksum(header) << '\n'
        << "  " << std::setw(labelWidth) << "Calculated checksum:" << calculatedChecksum(header)
        << (checksumMatches(header) ? " (matches)" : " (differs)") << '\n'
        << "  " << std::setw(labelWidth) << "Size:" << header.fileSize << " bytes\n";
}

nlohmann::ordered_json headerJson(const std::string& path, const LoadedHeader& header) {
    nlohmann::ordered_json json;
    json["path"] = path;
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string key(fieldNames[field.index].jsonKey);
        json[key] = utf8Text(header.texts[field.index]);
        json[key + "_hex"] = hexBytes(presentBytes(header, field));
    }
    json["stored_checksum"] = storedChecksum(header);
    json["calculated_checksum"] = calculatedChecksum(header);
    json["checksum_ok"] = checksumMatches(header);
    json["size"] = header.fileSize;
    return json;
}

// Loads a file's header, or says on the error stream why it could not.
std::optional<LoadedHeader> load(const std::string& path, Streams streams) {
    LoadResult result = LoadHeader(path);
    if (!result.header)
        streams.err << "quillon-cli: cannot read " << result.error << '\n';
    return std::move(result.header);
}

bool write(const std::string& path, const HeaderEdit& edit, Streams streams) {
    if (const auto error = WriteHeaderEdit(path, edit)) {
        streams.err << "quillon-cli: cannot write " << *error << '\n';
        return false;
    }
    return true;
}

HeaderEdit storeCalculated(const LoadedHeader& header) {
    return {SplitChecksum(header.calculated), {}};
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
            streams.out << headerJson(path, *header).dump() << '\n';
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
        const auto value = ParseChecksumEntry(*request.checksum);
        if (!value) {
            streams.err << "quillon-cli: --checksum refused: \"" << *request.checksum
                        << "\" is not hexadecimal; nothing written\n";
            return BadInput;
        }
        edit.checksum = SplitChecksum(*value);
    }
    if (request.fixChecksum) {
        const auto header = load(request.path, streams);
        if (!header)
            return FileFailed;
        edit.checksum = SplitChecksum(header->calculated);
    }
    return write(request.path, edit, streams) ? Done : FileFailed;
}

int checkFiles(const std::vector<std::string>& paths, Streams streams) {
    int status = Done;
    for (const std::string& path : paths) {
        const auto header = load(path, streams);
        if (!header) {
            status = std::max<int>(status, FileFailed);
        } else if (checksumMatches(*header)) {
            streams.out << path << ": ok " << storedChecksum(*header) << '\n';
        } else {
            streams.out << path << ": checksum mismatch: stored " << storedChecksum(*header)
                        << ", calculated " << calculatedChecksum(*header) << '\n';
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
            status = FileFailed;
        } else if (checksumMatches(*header)) {
            streams.out << path << ": already " << storedChecksum(*header) << '\n';
        } else if (write(path, storeCalculated(*header), streams)) {
            streams.out << path << ": stored " << calculatedChecksum(*header) << " (was "
                        << storedChecksum(*header) << ")\n";
        } else {
            status = FileFailed;
        }
    }
    return status;
}

} // namespace quillon::cli
