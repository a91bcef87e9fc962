// SPDX-License-Identifier: MIT
// lint: what each file's header will make consoles and emulators do wrong, read-only.
#pragma once

#include "FileCommands.h"
#include "HeaderLint.h"

#include <set>
#include <string>
#include <vector>

namespace quillon::cli {

struct LintOptions {
    bool json = false;
    bool strict = false;                 // a warning fails a file as an error does
    std::set<std::string> allowed;       // ids whose findings are dropped
    LintLevel level = LintLevel::Note;   // the least level shown; findings below it are dropped
    const ImageLayout* layout = nullptr; // --layout, instead of the one the bytes tell
};

ExitStatus lintFiles(const std::vector<std::string>& paths, const LintOptions& options,
                     Streams streams);
// Lints one image: a file, or a member given as its bytes, whose findings then name no fix.
void lintImage(const std::string& path, RandomAccessFile* member, const LintOptions& options,
               Streams streams, ExitStatus& status);

// Every rule's id, comma-separated, for a message.
std::string lintRuleIds();

// The rules as a table for the help text and the manual page: id, level, reason, source.
std::string lintRuleTable();

} // namespace quillon::cli
