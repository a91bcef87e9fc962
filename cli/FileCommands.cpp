// SPDX-License-Identifier: MIT
#include "FileCommands.h"

#include "HeaderFile.h"
#include "HeaderReport.h"
#include "TextDisplay.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace quillon::cli {

void sayRefused(const std::string& why, Streams streams) {
    streams.err << "quillon-cli: " << displayText(why) << "; nothing written\n";
}

std::string unreadableText(const LoadedHeader& header) {
    if (header.notRom)
        return NotRomText(*header.notRom);
    return std::string(header.layout->writeRefusal);
}

std::optional<LoadedHeader> loadHeader(const std::string& path, const ImageLayout* layout,
                                       Streams streams, int& status) {
    LoadResult result = LoadHeader(path, layout);
    if (!result.header) {
        streams.err << "quillon-cli: cannot read " << displayText(result.error) << '\n';
        status = std::max<int>(status, FileFailed);
    } else if (const std::string why = unreadableText(*result.header); !why.empty()) {
        streams.err << "quillon-cli: " << displayText(path + ": " + why) << '\n';
        status = std::max<int>(status, BadInput);
        result.header.reset();
    }
    return std::move(result.header);
}

bool refusesWholeRom(const std::string& path, const LoadedHeader& header, Streams streams) {
    if (header.layout->romRefusal.empty())
        return false;
    sayRefused(path + ": " + std::string(header.layout->romRefusal), streams);
    return true;
}

int writeEdit(const std::string& path, const ImageLayout* layout, const HeaderEdit& edit,
              Streams streams) {
    const WriteResult result = WriteHeaderEdit(path, edit, layout);
    switch (result.status) {
    case WriteStatus::Refused:
        sayRefused(result.error, streams);
        return BadInput;
    case WriteStatus::Failed:
    case WriteStatus::Changed: // never asked for here
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

int showFiles(const std::vector<std::string>& paths, bool json, const ImageLayout* layout,
              Streams streams) {
    int status = Done;
    bool first = true;
    for (const std::string& path : paths) {
        const auto header = loadHeader(path, layout, streams, status);
        if (!header)
            continue;
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

int checkFiles(const std::vector<std::string>& paths, const ImageLayout* layout, Streams streams) {
    int status = Done;
    for (const std::string& path : paths) {
        const auto header = loadHeader(path, layout, streams, status);
        if (!header)
            continue;
        if (!header->layout->romRefusal.empty()) {
            streams.err << "quillon-cli: "
                        << displayText(path + ": " + std::string(header->layout->romRefusal))
                        << '\n';
            status = std::max<int>(status, BadInput);
        } else if (!hasWholeHeader(*header)) {
            streams.err << "quillon-cli: " << displayText(path) << ": " << shortFileText(*header)
                        << "; not a ROM image\n";
            status = std::max<int>(status, BadInput);
        } else if (checksumMatches(*header)) {
            streams.out << displayText(path) << ": ok " << *storedChecksum(*header) << '\n';
        } else {
            streams.out << displayText(path) << ": checksum mismatch: stored "
                        << *storedChecksum(*header) << ", calculated "
                        << calculatedChecksum(*header).value_or("none") << '\n';
            status = std::max<int>(status, Flagged);
        }
    }
    return status;
}

} // namespace quillon::cli
