// SPDX-License-Identifier: MIT
// The lint checks of what makes a ROM a 32X or a Pico game to each of its readers; the rule
// table in HeaderLint.cpp runs them.
#pragma once

#include "HeaderFile.h"
#include "HeaderLint.h"

#include <vector>

namespace quillon {

// The console name says 32X, but the initial program the 32X needs is missing.
void checkMarsMissing(const LoadedHeader& header, std::vector<LintFinding>& findings);
// The ROM carries the initial program, but the console name does not say 32X.
void checkMarsUnnamed(const LoadedHeader& header, std::vector<LintFinding>& findings);
// Some readers take the console name for a Pico's, others do not.
void checkPicoReaders(const LoadedHeader& header, std::vector<LintFinding>& findings);

} // namespace quillon
