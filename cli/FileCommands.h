// SPDX-License-Identifier: MIT
// The subcommands that read (show, check) and what every subcommand shares: exit statuses, the
// fields' names, loading and writing a file with its failures said. Output and errors go to the
// given streams.
#pragma once

#include "Diagnostics.h"
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

// A field's option on the command line: its key with dashes, e.g. --rom-end.
inline std::string optionName(std::string_view key) {
    std::string option = "--" + std::string(key);
    std::replace(option.begin(), option.end(), '_', '-');
    return option;
}

struct Streams {
    std::ostream& out;
    std::ostream& err;
    // Whether each is a terminal: there a long batch shows on the error stream how far it is.
    bool outTerminal = false;
    bool errTerminal = false;
};

// Loads a file's header for every command but lint and convert, in the layout given (--layout)
// or the one its bytes tell (LoadHeaderToEdit), or says on the error stream why there is none to
// work on and raises status: to FileFailed for a file that could not be read, to BadInput for
// one no command works on (not a ROM image, a byte-swapped image).
std::optional<LoadedHeader> loadHeader(const std::string& path, const ImageLayout* layout,
                                       Streams streams, ExitStatus& status);

// Writes an edit, or says why it could not; returns the exit status.
ExitStatus writeEdit(const std::string& path, const ImageLayout* layout, const HeaderEdit& edit,
                     Streams streams);

// Why the commands that work on the whole ROM (its checksum, its end, its size) do not take the
// file's layout (a disc has none of them), or nothing.
std::optional<Problem> wholeRomRefusal(const std::string& path, const LoadedHeader& header);

struct BatchOptions;

ExitStatus showFiles(const std::vector<std::string>& paths, const BatchOptions& options,
                     Streams streams);
ExitStatus checkFiles(const std::vector<std::string>& paths, const BatchOptions& options,
                      Streams streams);

} // namespace quillon::cli
