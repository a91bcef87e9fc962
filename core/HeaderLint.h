// SPDX-License-Identifier: MIT
// What will go wrong with a header: each rule names the field and bytes it finds fault with,
// and what the console or an emulator does with them.
#pragma once

#include "HeaderFile.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class LintLevel { Error, Warning, Note };

std::string_view lintLevelName(LintLevel level); // "error", "warning", "note"

// How a finding is mended by one of the program's own commands, as data: what to do and with
// which values. The command line words it; the core says what, not how it is typed.
enum class LintFixAction {
    SetFields,     // write each setting's value into its field, as set writes a value
    StoreChecksum, // store the checksum calculated over the ROM
    SetRomEnd,     // set the ROM end to the file's last byte (and store the checksum)
    PadTo,         // append fill bytes up to size, then set the ROM end and checksum for it
};

struct LintFixSetting {
    std::uint32_t offset; // the field's first byte, which names it
    // The value as set takes it, in the ROM's character set: a text, an address in hexadecimal,
    // a save memory as KIND:START-END (KIND a SaveMemoryKindTable name) or "none".
    std::string value;
};

struct LintFix {
    LintFixAction action;
    std::vector<LintFixSetting> settings{}; // SetFields
    std::uint64_t size = 0;                 // PadTo
};

struct LintFinding {
    std::string_view id;
    LintLevel level;
    std::string_view field; // the field's label
    std::uint32_t offset;   // the bytes concerned
    std::uint32_t length;
    std::string message;          // what is wrong, with the values read
    std::string effect;           // what the console or an emulator does with it
    std::optional<LintFix> fix{}; // the command that mends it, when one knows the value
    std::string choose{}; // else, when the right value is a judgement: what to choose, and where
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
    // Gives each finding of the rule its fix or what to choose; none when nothing mends it.
    void (*mend)(const LintContext& context, LintFinding& finding) = nullptr;
};

// Every rule, in the order findings are given.
std::span<const LintRule> LintRules();

const LintRule* findLintRule(std::string_view id);

// The findings on a loaded header, in the order of the rules.
std::vector<LintFinding> LintHeader(const LoadedHeader& header);

} // namespace quillon
