// SPDX-License-Identifier: MIT
// How each lint rule's findings are mended: the fix a command makes, or, where the right value
// is the author's to decide (which regions a game is for, its maker and month), what to choose.
// One function a rule, named in the rule's row.
#pragma once

#include "HeaderLint.h"
#include "LintContext.h"

namespace quillon {

void mendOddSize(const LintContext& c, LintFinding& finding);
void mendTrademark(const LintContext& c, LintFinding& finding);
void mendChecksum(const LintContext& c, LintFinding& finding);
void mendRomStart(const LintContext& c, LintFinding& finding);
void mendRomEnd(const LintContext& c, LintFinding& finding);
void mendRomEndFlat(const LintContext& c, LintFinding& finding);
void mendRamRange(const LintContext& c, LintFinding& finding);
void mendExtraMemory(const LintContext& c, LintFinding& finding);
void mendExtraMemoryUnknown(const LintContext& c, LintFinding& finding);
void mendRegionName(const LintContext& c, LintFinding& finding);
void mendRegionChoice(const LintContext& c, LintFinding& finding);
void mendRegionUnknown(const LintContext& c, LintFinding& finding);
void mendDeviceUnknown(const LintContext& c, LintFinding& finding);
void mendCopyright(const LintContext& c, LintFinding& finding);
void mendSerial(const LintContext& c, LintFinding& finding);
void mendTextControl(const LintContext& c, LintFinding& finding);
void mendDiscRegion(const LintContext& c, LintFinding& finding);
void mendMarsMissing(const LintContext& c, LintFinding& finding);
void mendMarsUnnamed(const LintContext& c, LintFinding& finding);
void mendPicoReaders(const LintContext& c, LintFinding& finding);

} // namespace quillon
