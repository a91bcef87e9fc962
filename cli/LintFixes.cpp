// SPDX-License-Identifier: MIT
#include "LintFixes.h"

#include "EditCommands.h"
#include "TextDisplay.h"

#include <algorithm>

namespace quillon::cli {

namespace {

// set's option for the header field that starts at offset.
std::string setOption(std::uint32_t offset) {
    for (const HeaderField& field : HeaderFields) {
        if (field.offset == offset && offset >= HeaderStart)
            return optionName(field.key);
    }
    return {};
}

// Quotes are needed for anything but the characters no shell treats specially.
bool plainWord(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("-_./:,+=@%").find(c) != std::string_view::npos;
    });
}

} // namespace

std::vector<std::string> fixArguments(const LintFix& fix, const std::string& path,
                                      const ImageLayout* layout) {
    // A file whose name starts with "-" would be read as an option.
    const std::string file = path.starts_with('-') ? "./" + path : path;
    std::vector<std::string> arguments;
    switch (fix.action) {
    case LintFixAction::SetFields:
        arguments = {"set", file};
        for (const LintFixSetting& setting : fix.settings) {
            arguments.push_back(setOption(setting.offset));
            arguments.push_back(utf8Text(setting.value));
        }
        break;
    case LintFixAction::StoreChecksum:
        arguments = {"fix", file};
        break;
    case LintFixAction::SetRomEnd:
        arguments = {"fix", "--rom-end", file};
        break;
    case LintFixAction::PadTo:
        arguments = {"pad", file, "--to", std::to_string(fix.size), "--fix"};
        break;
    }
    if (layout) {
        arguments.emplace_back("--layout");
        arguments.emplace_back(layout->key);
    }
    return arguments;
}

std::string commandLine(const std::vector<std::string>& arguments) {
    std::string line = "quillon-cli";
    for (const std::string& argument : arguments) {
        line += ' ';
        if (plainWord(argument)) {
            line += argument;
            continue;
        }
        line += '\'';
        for (const char c : argument)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

} // namespace quillon::cli
