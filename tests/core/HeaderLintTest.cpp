// SPDX-License-Identifier: MIT
// Each rule fires on a header a few bytes away from a clean one, and keeps quiet on the near
// misses that consoles and emulators accept.
#include "HeaderLint.h"

#include "LintCases.h"

#include <gtest/gtest.h>
#include <set>

using namespace quillon;
using namespace quillon::test;

namespace {

// The header as a load finds it, of the case's ROM.
LoadedHeader loadedCase(const LintCase& test) {
    const Bytes rom = lintCaseRom(test);
    LoadedHeader header;
    std::copy_n(rom.begin(), std::min(rom.size(), header.bytes.size()), header.bytes.begin());
    header.romSize = header.fileSize = rom.size();
    header.layout = test.layout;
    header.notRom = test.notRom;
    header.calculated = ComputeRomChecksum(rom.data(), rom.size());
    if (test.layout->discUserData) {
        header.discUserData.assign(rom.begin(), rom.begin() + SectorUserDataSize);
        if (*test.layout->discUserData != 0)
            header.firstSectorCheck = test.sector;
    }
    return header;
}

} // namespace

TEST(HeaderLintTest, EachRuleFiresOnItsFaultAlone) {
    for (const LintCase& test : lintCases) {
        std::set<std::string> fired;
        for (const LintFinding& finding : LintHeader(loadedCase(test))) {
            fired.insert(std::string(finding.id));
            EXPECT_FALSE(finding.message.empty() || finding.effect.empty()) << test.what;
            EXPECT_LE(finding.offset + finding.length, ChecksummedRegionStart) << test.what;
            // A rule that mends gives each finding a fix or what to choose, never both.
            EXPECT_EQ(finding.fix.has_value() + !finding.choose.empty(),
                      findLintRule(finding.id)->mend ? 1 : 0)
                << test.what << ": " << finding.id;
        }
        EXPECT_EQ(fired, test.ids) << test.what;
    }
}

TEST(HeaderLintTest, EveryRuleHasACaseThatFiresIt) {
    std::set<std::string> covered;
    for (const LintCase& test : lintCases)
        covered.insert(test.ids.begin(), test.ids.end());
    for (const LintRule& rule : LintRules())
        EXPECT_TRUE(covered.contains(std::string(rule.id))) << rule.id;
}
