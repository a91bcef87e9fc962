// SPDX-License-Identifier: MIT
// lint: what each file's header will make consoles and emulators do wrong, read-only.
#pragma once

#include "FileCommands.h"
#include "HeaderLint.h"
#include "ImageBatch.h"

#include <set>
#include <string>
#include <vector>

namespace quillon::cli {

// quiet leaves out every finding that fails no file, and the records of files that pass.
struct LintOptions : BatchOptions {
    bool strict = false;               // a warning fails a file as an error does
    std::set<std::string> allowed;     // ids whose findings are dropped
    LintLevel level = LintLevel::Note; // the least level shown; findings below it are dropped
};

ExitStatus lintFiles(const std::vector<std::string>& paths, const LintOptions& options,
                     Streams streams);

// Every rule's id, comma-separated, for a message.
std::string lintRuleIds();

// The rules as a table for the help text and the manual page: id, level, reason, source.
std::string lintRuleTable();

} // namespace quillon::cli
