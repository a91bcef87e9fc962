// SPDX-License-Identifier: MIT
// The subcommands that write: set, fix and pad, which work out every byte they would write first,
// refuse before writing anything when a value cannot be written exactly, and with --dry-run show
// the bytes instead of writing them; and convert, which writes a new file.
#pragma once

#include "FileCommands.h"
#include "HeaderInfo.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

struct EditOutput {
    bool dryRun = false;                 // show each change, write nothing
    bool json = false;                   // the changes as one JSON object a file
    const ImageLayout* layout = nullptr; // --layout, instead of the one the bytes tell
};

struct SetRequest {
    std::vector<std::string> paths;
    // Row for row with HeaderFields: each value given, as typed (UTF-8).
    std::array<std::optional<std::string>, HeaderFields.size()> values;
    bool fixChecksum = false;
    EditOutput output;
};

struct FixRequest {
    std::vector<std::string> paths;
    bool checksum = true;
    bool romEnd = false; // the ROM end set to the file's last byte
    EditOutput output;
};

struct PadRequest {
    std::vector<std::string> paths;
    std::string size; // a SizeNumber, or "pow2"
    std::string fill; // "FF" or "00"
    bool fix = false; // then the ROM end and the checksum for the new size
    EditOutput output;
};

struct ConvertRequest {
    std::string source;
    std::string destination;
    std::string to;                      // a layout's convertKey: "bin" or "smd"
    bool force = false;                  // an existing destination is replaced
    const ImageLayout* layout = nullptr; // --layout of the source
};

ExitStatus setFields(const SetRequest& request, Streams streams);
ExitStatus fixFiles(const FixRequest& request, Streams streams);
ExitStatus padFiles(const PadRequest& request, Streams streams);
ExitStatus convertFile(const ConvertRequest& request, Streams streams);

} // namespace quillon::cli
