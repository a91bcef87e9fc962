// SPDX-License-Identifier: MIT
// How the command line tells what went wrong, and what it is worth: each diagnostic one line on
// the error stream after the program's name, and one exit status for a run over several files,
// the most severe met.
#pragma once

#include "Outcome.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace quillon::cli {

// The exit statuses, least severe first. Flagged: a checksum that differs (check), a finding
// that fails the file (lint).
enum ExitStatus : int { Done = 0, Flagged = 1, BadInput = 2, FileFailed = 3 };

// Keeps in status the more severe of it and met.
void raise(ExitStatus& status, ExitStatus met);

// What a command was doing when the core said no, which decides how it is told.
enum class Doing { Reading, Writing, Converting };

// What every line the program writes to the error stream starts with.
constexpr std::string_view programPrefix = "quillon-cli: ";

// One line: the program's name, then text as it is.
void say(std::ostream& err, std::string_view text);
void warn(std::ostream& err, std::string_view text);

// Tells a problem of the core, its path and reason shown so that no path can forge a line, and
// returns what it is worth: BadInput for a refusal, FileFailed for a failure. Of a command that
// writes, it says that nothing was written.
ExitStatus report(std::ostream& err, const Problem& problem, Doing doing);

// What report says of a problem, without the program's name, its path and reason as they are:
// for a JSON record, which keeps every character.
std::string problemMessage(const Problem& problem, Doing doing);

// Tells why a value given to an option stands for no bytes; returns BadInput.
ExitStatus refuseValue(std::ostream& err, std::string_view option, std::string_view reason);

} // namespace quillon::cli
