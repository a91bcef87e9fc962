// SPDX-License-Identifier: MIT
// The command line: parses it and runs the subcommand it names.
#pragma once

namespace quillon::cli {

// Returns the process's exit status.
int run(int argc, char* argv[]);

} // namespace quillon::cli
