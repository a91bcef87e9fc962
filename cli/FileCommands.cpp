// SPDX-License-Identifier: MIT
#include "FileCommands.h"

#include "HeaderFile.h"
#include "HeaderReport.h"
#include "ImageInputs.h"
#include "TextDisplay.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace quillon::cli {

std::optional<LoadedHeader> loadHeader(const std::string& path, const ImageLayout* layout,
                                       Streams streams, ExitStatus& status,
                                       RandomAccessFile* member) {
    Result<LoadedHeader> result = loadImage(path, member, layout, true);
    if (!result) {
        raise(status, report(streams.err, result.problem(), Doing::Reading));
        return std::nullopt;
    }
    return std::move(*result);
}

std::optional<Problem> wholeRomRefusal(const std::string& path, const LoadedHeader& header) {
    if (header.layout->romRefusal.empty())
        return std::nullopt;
    return Refusal(path, std::string(header.layout->romRefusal));
}

ExitStatus writeEdit(const std::string& path, const ImageLayout* layout, const HeaderEdit& edit,
                     Streams streams) {
    // Never asked to expect a header here, so the file is never Changed.
    const Result<Written> result = WriteHeaderEdit(path, edit, layout);
    if (!result)
        return report(streams.err, result.problem(), Doing::Writing);
    if (result->originalSize < ChecksummedRegionStart)
        warn(streams.err, displayText(path) + " had " + std::to_string(result->originalSize) +
                              " bytes, too few for a ROM header (" +
                              std::to_string(ChecksummedRegionStart) +
                              " bytes); it grew to hold what was written");
    return Done;
}

ExitStatus showFiles(const std::vector<std::string>& paths, bool json, const ImageLayout* layout,
                     Streams streams) {
    ExitStatus status = Done;
    bool first = true;
    for (const std::string& argument : paths) {
        forEachImage(argument, streams, status,
                     [&](const std::string& path, RandomAccessFile* member) {
                         const auto header = loadHeader(path, layout, streams, status, member);
                         if (!header)
                             return;
                         if (json) {
                             streams.out << headerJsonLine(path, *header) << '\n';
                         } else {
                             streams.out << (first ? "" : "\n");
                             printHeader(path, *header, streams.out);
                         }
                         first = false;
                     });
    }
    return status;
}

ExitStatus checkFiles(const std::vector<std::string>& paths, const ImageLayout* layout,
                      Streams streams) {
    ExitStatus status = Done;
    for (const std::string& argument : paths)
        forEachImage(argument, streams, status,
                     [&](const std::string& path, RandomAccessFile* member) {
                         checkImage(path, member, layout, streams, status);
                     });
    return status;
}

void checkImage(const std::string& path, RandomAccessFile* member, const ImageLayout* layout,
                Streams streams, ExitStatus& status) {
    const auto header = loadHeader(path, layout, streams, status, member);
    if (!header)
        return;
    // check writes nothing, so says nothing of it.
    if (const auto refused = wholeRomRefusal(path, *header)) {
        raise(status, report(streams.err, *refused, Doing::Reading));
    } else if (!hasWholeHeader(*header)) {
        say(streams.err, displayText(path) + ": " + shortFileText(*header) + "; not a ROM image");
        raise(status, BadInput);
    } else if (checksumMatches(*header)) {
        streams.out << displayText(path) << ": ok " << *storedChecksum(*header) << '\n';
    } else {
        streams.out << displayText(path) << ": checksum mismatch: stored "
                    << *storedChecksum(*header) << ", calculated "
                    << calculatedChecksum(*header).value_or("none") << '\n';
        raise(status, Flagged);
    }
}

} // namespace quillon::cli
