// SPDX-License-Identifier: MIT
#include "FileCommands.h"

#include "HeaderFile.h"
#include "HeaderReport.h"
#include "InterleavedImage.h"
#include "TextDisplay.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace quillon::cli {

namespace {

void refuse(const std::string& why, Streams streams) {
    streams.err << "quillon-cli: " << displayText(why) << "; nothing written\n";
}

const std::string interleavedText = ": " + std::string(InterleavedImageRefusal);

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
            streams.out << headerJsonLine(path, *header) << '\n';
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
            status = std::max<int>(status, Flagged);
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
