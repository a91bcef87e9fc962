// SPDX-License-Identifier: MIT
// What will go wrong with a header: each rule names the field and bytes it finds fault with,
// and what the console or an emulator does with them.
#pragma once

#include "HeaderFile.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class LintLevel { Error, Warning, Note };

std::string_view lintLevelName(LintLevel level); // "error", "warning", "note"

struct LintFinding {
    std::string_view id;
    LintLevel level;
    std::string_view field; // the field's label
    std::uint32_t offset;   // the bytes concerned
    std::uint32_t length;
    std::string message; // what is wrong, with the values read
    std::string effect;  // what the console or an emulator does with it
};

struct LintContext;

// One rule: a stable id, its level, a one-line reason and what it rests on, for the
// documentation, and its check.
struct LintRule {
    std::string_view id;
    LintLevel level;
    std::string_view reason;
    std::string_view source;
    void (*check)(const LintContext& context, std::vector<LintFinding>& findings);
};

// Every rule, in the order findings are given.
std::span<const LintRule> LintRules();

const LintRule* findLintRule(std::string_view id);

// The findings on a loaded header, in the order of the rules.
std::vector<LintFinding> LintHeader(const LoadedHeader& header);

} // namespace quillon
