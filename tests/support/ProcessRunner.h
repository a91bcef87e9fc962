// SPDX-License-Identifier: MIT
// Runs a program as a user's shell or script would, on POSIX systems and on Windows alike.
#pragma once

#include <string>
#include <vector>

namespace quillon::test {

// Runs program with the arguments exactly as given (no shell in between), its standard output
// and error written to the two files, in the given working folder (this process's own when
// empty). Returns its exit status, or -1 when it did not exit.
int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& outPath, const std::string& errPath,
               const std::string& workingFolder = {});

} // namespace quillon::test
