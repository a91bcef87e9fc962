// SPDX-License-Identifier: MIT
// A lint finding's fix in quillon-cli's own words: the arguments that make it, and the command
// line to type, quoted for a POSIX shell.
#pragma once

#include "HeaderLint.h"

#include <string>
#include <vector>

namespace quillon::cli {

// The arguments after "quillon-cli" that make the fix on the file at path; with layout (the
// one lint was told, or one in doubt, which a write must name) a --layout of it.
std::vector<std::string> fixArguments(const LintFix& fix, const std::string& path,
                                      const ImageLayout* layout);

// "quillon-cli" and the arguments, each quoted for a POSIX shell where it needs it.
std::string commandLine(const std::vector<std::string>& arguments);

} // namespace quillon::cli
