// SPDX-License-Identifier: MIT
// A loaded header as the commands report it: the whole header as text for people or as one
// line of JSON for programs, with bytes past the end of a short file shown as missing.
#pragma once

#include "HeaderFile.h"

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::cli {

// The bytes from offset that the ROM really has; a short file may end inside or before them.
std::string_view presentBytes(const LoadedHeader& header, std::uint32_t offset,
                              std::uint32_t length);

// Whether the file reaches the end of the header; a shorter one is no ROM image.
bool hasWholeHeader(const LoadedHeader& header);

// Why a file is too short, for messages.
std::string shortFileText(const LoadedHeader& header);

// Two hexadecimal digits a byte, "--" for each byte past the end of the file.
std::string hexOrMissing(const LoadedHeader& header, std::uint32_t offset, std::uint32_t length);

// The stored checksum, or nothing when the file ends before it.
std::optional<std::string> storedChecksum(const LoadedHeader& header);
// The calculated checksum, or nothing for a layout without one (a disc).
std::optional<std::string> calculatedChecksum(const LoadedHeader& header);
bool checksumMatches(const LoadedHeader& header);

void printHeader(const std::string& path, const LoadedHeader& header, std::ostream& out);

// The checksums as show's JSON gives them: stored_checksum, calculated_checksum, checksum_ok.
void addChecksumJson(nlohmann::ordered_json& json, const LoadedHeader& header);

// One JSON object, without a line break.
std::string headerJsonLine(const std::string& path, const LoadedHeader& header);

} // namespace quillon::cli
