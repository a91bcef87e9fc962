// SPDX-License-Identifier: MIT
// The subcommands that read (show, check) and what every subcommand shares: exit statuses, the
// fields' names, loading and writing a file with its failures said. Output and errors go to the
// given streams.
#pragma once

#include "HeaderFile.h"
#include "HeaderLayout.h"

#include <algorithm>
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

// A field's option on the command line: its key with dashes, e.g. --rom-end.
inline std::string optionName(std::string_view key) {
    std::string option = "--" + std::string(key);
    std::replace(option.begin(), option.end(), '_', '-');
    return option;
}

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Why no command but lint and convert works on a loaded file: not a ROM image, or in a layout
// that is never written (a byte-swapped image, which no command reads as it lies); or empty.
std::string unreadableText(const LoadedHeader& header);

// Loads a file's header, in the layout given (--layout) or the one its bytes tell, or says on
// the error stream why there is none to work on and raises status: to FileFailed for a file
// that could not be read, to BadInput for one of unreadableText.
std::optional<LoadedHeader> loadHeader(const std::string& path, const ImageLayout* layout,
                                       Streams streams, int& status);

// Writes an edit, or says why it could not; returns the exit status.
int writeEdit(const std::string& path, const ImageLayout* layout, const HeaderEdit& edit,
              Streams streams);

// Says on the error stream that a file is left as it is, and why.
void sayRefused(const std::string& why, Streams streams);

// Says so when the commands that work on the whole ROM (its checksum, its end, its size) do not
// take the file's layout: a disc has none of them.
bool refusesWholeRom(const std::string& path, const LoadedHeader& header, Streams streams);

int showFiles(const std::vector<std::string>& paths, bool json, const ImageLayout* layout,
              Streams streams);
int checkFiles(const std::vector<std::string>& paths, const ImageLayout* layout, Streams streams);

} // namespace quillon::cli
