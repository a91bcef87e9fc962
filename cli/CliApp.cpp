// SPDX-License-Identifier: MIT
#include "CliApp.h"

#include "FileCommands.h"
#include "HeaderLint.h"
#include "LintCommand.h"
#include "QuillonVersion.h"
#include "TextDisplay.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

namespace quillon::cli {

namespace {

// CLI11 2.1 reads "--option=" with nothing after the "=" as an option given no value, and then
// takes the next argument as its value; given as a separate empty argument, the value is read
// right. Returns the arguments after the program's name, last first, as CLI11 takes them.
std::vector<std::string> argumentsFor(int argc, char* argv[],
                                      const std::vector<std::string>& valueOptions) {
    std::vector<std::string> arguments;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        optionsEnded = optionsEnded || argument == "--";
        const std::string_view name = argument.substr(0, argument.find('='));
        const bool emptyValue =
            !optionsEnded && argument.size() == name.size() + 1 &&
            std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
        arguments.emplace_back(emptyValue ? name : argument);
        if (emptyValue)
            arguments.emplace_back();
    }
    std::reverse(arguments.begin(), arguments.end());
    return arguments;
}

int parseAndRun(int argc, char* argv[]) {
    CLI::App app{"Shows, checks and edits the header of Sega Mega Drive / Genesis ROM images "
                 "in place.\nExit status: 0 done, 1 checksum mismatch (check) or a failing finding "
                 "(lint), 2 bad usage or "
                 "input, or a file that is no plain ROM image (too short, or an interleaved "
                 "copier image), 3 a file or the output that could not be read or written.",
                 "quillon-cli"};
    app.set_version_flag("--version", std::string(VersionText));
    app.require_subcommand(1, 1);
    // On Windows too a path may start with "/"; options are spelt the same everywhere.
    app.allow_windows_style_options(false);

    std::vector<std::string> files;
    bool json = false;
    CLI::App* show = app.add_subcommand("show", "Show the whole header and both checksums");
    show->add_flag("--json", json, "One JSON object a line for each file");
    show->add_option("FILE", files, "ROM image files")->required();

    SetRequest request;
    std::array<std::string, HeaderFieldCount> texts;
    std::string checksum;
    CLI::App* set = app.add_subcommand(
        "set", "Write the named fields, padded with spaces, leaving all others as they are");
    set->add_option("FILE", request.path, "ROM image file")->required();
    std::array<CLI::Option*, HeaderFieldCount> textOptions{};
    for (const HeaderField& field : HeaderFieldTable) {
        const auto i = field.index;
        textOptions[i] = set->add_option(std::string(fieldNames[i].option), texts[i],
                                         "Text of \"" + std::string(field.label) + "\" (" +
                                             std::to_string(field.length) + " characters at most)");
    }
    CLI::Option* checksumOption =
        set->add_option("--checksum", checksum, "Checksum to store, in hexadecimal (0 to FFFF)");
    CLI::Option* fixOption = set->add_flag("--fix-checksum", request.fixChecksum,
                                           "Store the checksum calculated over the ROM");
    checksumOption->excludes(fixOption);

    CLI::App* check =
        app.add_subcommand("check", "Compare each file's stored checksum with the calculated one");
    check->add_option("FILE", files, "ROM image files")->required();
    CLI::App* fix = app.add_subcommand("fix", "Store the calculated checksum in each file");
    fix->add_option("FILE", files, "ROM image files")->required();

    LintOptions lintOptions;
    CLI::App* lint = app.add_subcommand(
        "lint", "Name what in each header consoles and emulators will get wrong, and what they "
                "will do; exit status 1 when a finding is an error");
    lint->add_flag("--json", lintOptions.json, "One JSON object a line for each file");
    lint->add_flag("--strict", lintOptions.strict, "A warning fails a file too");
    const CLI::Validator ruleId(
        [](const std::string& id) {
            return findLintRule(id) ? std::string() : id + " is no rule's id (see below)";
        },
        "");
    lint->add_option("--allow", lintOptions.allowed,
                     "Leave out the findings of this rule (repeatable)")
        ->check(ruleId)
        ->type_name("ID");
    lint->add_option("FILE", files, "ROM image files")->required();
    lint->footer("Rules (id, level, what it finds, and the behaviour it rests on):\n" +
                 lintRuleTable());

    std::vector<std::string> valueOptions{"--checksum"};
    for (const FieldNames& names : fieldNames)
        valueOptions.emplace_back(names.option);
    std::vector<std::string> arguments = argumentsFor(argc, argv, valueOptions);
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? Done : BadInput;
    }

    const Streams streams{std::cout, std::cerr};
    if (*show)
        return showFiles(files, json, streams);
    if (*check)
        return checkFiles(files, streams);
    if (*fix)
        return fixFiles(files, streams);
    if (*lint)
        return lintFiles(files, lintOptions, streams);
    for (std::size_t i = 0; i < HeaderFieldCount; ++i) {
        if (textOptions[i]->count() > 0)
            request.texts[i] = texts[i];
    }
    if (checksumOption->count() > 0)
        request.checksum = checksum;
    return setFields(request, streams);
}

} // namespace

int run(int argc, char* argv[]) {
    int status = Done;
    try {
        status = parseAndRun(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "quillon-cli: " << displayText(error.what()) << '\n';
        status = FileFailed;
    } catch (...) {
        std::cerr << "quillon-cli: an unexpected failure\n";
        status = FileFailed;
    }
    // Buffered output may fail only now, when it is flushed: a full disk, a closed pipe.
    const bool failedBefore = !std::cout;
    errno = 0;
    if (!std::cout.flush()) {
        const int reason = errno;
        std::cerr << "quillon-cli: the output could not be written"
                  << (failedBefore || reason == 0 ? std::string()
                                                  : std::string(": ") + std::strerror(reason))
                  << '\n';
        return FileFailed;
    }
    return status;
}

} // namespace quillon::cli
