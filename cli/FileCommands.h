// SPDX-License-Identifier: MIT
// What each subcommand does to its files; output and errors go to the given streams.
#pragma once

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

struct SetRequest {
    std::string path;
    std::array<std::optional<std::string>, HeaderFieldCount> texts; // UTF-8, as typed
    std::optional<std::string> checksum;
    bool fixChecksum = false;
};

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

int showFiles(const std::vector<std::string>& paths, bool json, Streams streams);
int setFields(const SetRequest& request, Streams streams);
int checkFiles(const std::vector<std::string>& paths, Streams streams);
int fixFiles(const std::vector<std::string>& paths, Streams streams);

} // namespace quillon::cli
