// SPDX-License-Identifier: MIT
// quillon-cli: shows, checks and edits ROM headers from the command line.
#include "CliApp.h"

int main(int argc, char* argv[]) { return quillon::cli::run(argc, argv); }
