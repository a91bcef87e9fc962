// SPDX-License-Identifier: MIT
// The subcommands that read (show, check) and what every subcommand shares: exit statuses, the
// fields' names, loading and writing a file with its failures said. Output and errors go to the
// given streams.
#pragma once

#include "HeaderFile.h"
#include "HeaderLayout.h"

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cli {

// The exit statuses; with several files the highest met wins. Flagged: a checksum that
// differs (check), a finding that fails the file (lint).
enum ExitStatus : int { Done = 0, Flagged = 1, BadInput = 2, FileFailed = 3 };

// The fields' names on the command line and in JSON, row for row with HeaderFieldTable.
struct FieldNames {
    std::string_view option;
    std::string_view jsonKey;
};
inline constexpr std::array<FieldNames, HeaderFieldCount> fieldNames{{
    {"--console-name", "console_name"},
    {"--copyright", "copyright"},
    {"--domestic-name", "domestic_name"},
    {"--overseas-name", "overseas_name"},
    {"--serial-number", "serial_number"},
    {"--country-code", "country_code"},
}};

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Loads a file's header, or says on the error stream why there is none to work on and raises
// status: to FileFailed for a file that could not be read, to BadInput for a byte-swapped
// image, which no command reads as it lies.
std::optional<LoadedHeader> loadHeader(const std::string& path, Streams streams, int& status);

// Writes an edit, or says why it could not; returns the exit status.
int writeEdit(const std::string& path, const HeaderEdit& edit, Streams streams);

// Says on the error stream that a file is left as it is, and why.
void sayRefused(const std::string& why, Streams streams);

int showFiles(const std::vector<std::string>& paths, bool json, Streams streams);
int checkFiles(const std::vector<std::string>& paths, Streams streams);

} // namespace quillon::cli
