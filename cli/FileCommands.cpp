// SPDX-License-Identifier: MIT
#include "FileCommands.h"

#include "HeaderFile.h"
#include "HeaderReport.h"
#include "ImageBatch.h"
#include "TextDisplay.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace quillon::cli {

std::optional<LoadedHeader> loadHeader(const std::string& path, const ImageLayout* layout,
                                       Streams streams, ExitStatus& status) {
    Result<LoadedHeader> result = LoadHeaderToEdit(path, layout);
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

ExitStatus showFiles(const std::vector<std::string>& paths, const BatchOptions& options,
                     Streams streams) {
    bool first = true;
    const auto show = [&](const ImageInput& input, const LoadedHeader& header,
                          std::ostream& out) -> Result<FileVerdict> {
        const std::string& name = input.name;
        if (options.json) {
            out << headerJsonLine(name, header) << '\n';
        } else {
            out << (first ? "" : "\n");
            printHeader(name, header, out);
        }
        first = false;
        return FileVerdict::Pass;
    };
    return runBatch(paths, options, Takes::EditableFile, show, streams);
}

ExitStatus checkFiles(const std::vector<std::string>& paths, const BatchOptions& options,
                      Streams streams) {
    const auto check = [&](const ImageInput& input, const LoadedHeader& header,
                           std::ostream& out) -> Result<FileVerdict> {
        const std::string& name = input.name;
        // check writes nothing, so says nothing of it.
        if (auto refused = wholeRomRefusal(name, header))
            return std::move(*refused);
        if (!hasWholeHeader(header))
            return Refusal(name, shortFileText(header) + "; not a ROM image");
        const bool matches = checksumMatches(header);
        if (options.json) {
            Json record = recordJson(name);
            addChecksumJson(record, header);
            record["layout"] = header.layout->key;
            out << jsonText(record) << '\n';
        } else if (matches) {
            out << displayText(name) << ": ok " << *storedChecksum(header) << '\n';
        } else {
            out << displayText(name) << ": checksum mismatch: stored " << *storedChecksum(header)
                << ", calculated " << calculatedChecksum(header).value_or("none") << '\n';
        }
        return matches ? FileVerdict::Pass : FileVerdict::Fail;
    };
    return runBatch(paths, options, Takes::EditableFile, check, streams);
}

} // namespace quillon::cli
