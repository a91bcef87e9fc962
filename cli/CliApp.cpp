// SPDX-License-Identifier: MIT
#include "CliApp.h"

#include "ArchiveReader.h"
#include "EditCommands.h"
#include "FieldKinds.h"
#include "FileCommands.h"
#include "HeaderLint.h"
#include "ImageBatch.h"
#include "LintCommand.h"
#include "NearestName.h"
#include "NumberSyntax.h"
#include "QuillonVersion.h"
#include "TextDisplay.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>

namespace quillon::cli {

namespace {

using Files = std::vector<std::string>;

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

// The long names of every option that takes a value, "--" before each.
std::vector<std::string> valueOptionsOf(CLI::App& app) {
    std::vector<std::string> names;
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        for (const CLI::Option* option : command->get_options([](const CLI::Option* option) {
                 return !option->get_positional() && option->get_expected_min() > 0;
             })) {
            for (const std::string& name : option->get_lnames())
                names.push_back("--" + name);
        }
    }
    return names;
}

CLI::Option* addFiles(CLI::App& command, Files& files,
                      const std::string& description = "ROM image files") {
    return command.add_option("FILE", files, description)->required();
}

// What each layout is called: by --layout (its key), or by convert --to.
std::vector<std::string> layoutNames(std::string_view ImageLayout::*name) {
    std::vector<std::string> names;
    for (const ImageLayout* layout : ImageLayouts()) {
        if (!(layout->*name).empty())
            names.emplace_back(layout->*name);
    }
    return names;
}

// --layout of every subcommand that reads a file: a row of the layouts' table, taken instead of
// the one the file's bytes tell.
void addLayout(CLI::App& command, const ImageLayout*& layout) {
    command
        .add_option_function<std::string>(
            "--layout", [&layout](const std::string& key) { layout = FindImageLayout(key); },
            "Read the file in this layout, whatever its bytes tell")
        ->check(CLI::IsMember(layoutNames(&ImageLayout::key)))
        ->type_name("KEY");
}

// --dry-run and --json of the subcommands that write.
void addEditOutput(CLI::App& command, EditOutput& output) {
    addLayout(command, output.layout);
    CLI::Option* dryRun =
        command.add_flag("--dry-run", output.dryRun,
                         "Write nothing; show each change: offset, old bytes, new bytes");
    command.add_flag("--json", output.json, "With --dry-run: the changes as JSON")->needs(dryRun);
}

// What show, check and lint share: --json, --recursive, --quiet where a file can fail,
// --layout, and the files.
void addBatchOptions(CLI::App& command, BatchOptions& options, Files& files, bool canFail) {
    command.add_flag("--json", options.json,
                     "One JSON object a line for each file, one that cannot be read too");
    command.add_flag("-r,--recursive", options.recursive,
                     "Walk each folder for the images in it and under it, sorted by path: "
                     "names ending in " +
                         imageExtensionList() +
                         ", in any case; hidden ones and links to folders are passed over");
    if (canFail)
        command.add_flag("-q,--quiet", options.quiet,
                         "Print only what fails: no record of a file that passes; what cannot "
                         "be read and the summary are still told");
    addLayout(command, options.layout);
    addFiles(command, files,
             "ROM image files, and with -r folders; an archive stands for each image in it, "
             "ARCHIVE#MEMBER for one; of more than one file, text output ends with a summary on "
             "the error stream: N files: P pass, F fail, U could not be read");
}

// Each subcommand keeps what its options give until it runs, and puts its exit status in status.

// The commands that only read, with no options but the batch's.
struct ReadingCommand {
    const char* name;
    const char* description;
    bool canFail;
    ExitStatus (*run)(const Files&, const BatchOptions&, Streams);
};
constexpr ReadingCommand showCommand{"show", "Show the whole header, decoded, and both checksums",
                                     false, showFiles};
constexpr ReadingCommand checkCommand{
    "check", "Compare each file's stored checksum with the calculated one", true, checkFiles};

void addReading(CLI::App& app, const ReadingCommand& row, Streams streams, int& status) {
    auto files = std::make_shared<Files>();
    auto options = std::make_shared<BatchOptions>();
    CLI::App* command = app.add_subcommand(row.name, row.description);
    addBatchOptions(*command, *options, *files, row.canFail);
    command->callback([=, &status] { status = row.run(*files, *options, streams); });
}

void addSet(CLI::App& app, Streams streams, int& status) {
    auto request = std::make_shared<SetRequest>();
    // What each value option was given, row for row with HeaderFields; read once parsing is
    // done.
    auto values = std::make_shared<std::array<std::string, HeaderFields.size()>>();
    CLI::App* set = app.add_subcommand(
        "set",
        "Write the named fields into each file, texts padded with spaces, leaving every other "
        "byte as it is");
    addFiles(*set, request->paths);
    set->footer("Every value is checked, then every file read, before any is written. Each file's "
                "line names the fields whose bytes changed (written: ...), or says unchanged. A "
                "console name that no longer starts with \"SEGA\" or \" SEGA\" is warned of: a "
                "console with the trademark check (TMSS) will not start the ROM. Numbers: see "
                "quillon-cli --help.");
    std::vector<CLI::Option*> options;
    for (const HeaderField& field : HeaderFields) {
        const FieldKindRow& kind = fieldKind(field.kind);
        options.push_back(
            set->add_option(optionName(field.key), (*values)[field.index], kind.help(field))
                ->type_name(std::string(kind.typeName)));
    }
    CLI::Option* checksumOption = options[headerField(FieldId::Checksum).index];
    CLI::Option* fixOption = set->add_flag("--fix-checksum", request->fixChecksum,
                                           "Store the checksum calculated over the ROM");
    checksumOption->excludes(fixOption);
    addEditOutput(*set, request->output);
    set->callback([=, &status] {
        for (const HeaderField& field : HeaderFields) {
            if (options[field.index]->count() > 0)
                request->values[field.index] = (*values)[field.index];
        }
        status = setFields(*request, streams);
    });
}

void addFix(CLI::App& app, Streams streams, int& status) {
    auto request = std::make_shared<FixRequest>();
    auto noChecksum = std::make_shared<bool>(false);
    CLI::App* fix = app.add_subcommand(
        "fix", "Store the calculated checksum in each file, and with --rom-end its ROM end");
    fix->add_flag("--rom-end", request->romEnd,
                  "Set the ROM end (0x1A4) to the file's last byte; a SEGA SSF ROM keeps its own");
    fix->add_flag("--no-checksum", *noChecksum, "Leave the checksum as it is")->needs("--rom-end");
    addEditOutput(*fix, request->output);
    addFiles(*fix, request->paths);
    fix->callback([=, &status] {
        request->checksum = !*noChecksum;
        status = fixFiles(*request, streams);
    });
}

void addPad(CLI::App& app, Streams streams, int& status) {
    auto request = std::make_shared<PadRequest>();
    request->fill = "FF";
    CLI::App* pad = app.add_subcommand(
        "pad", "Append fill bytes until each file has the size asked for; never shortens one");
    pad->add_option("--to", request->size,
                    "The size: bytes (0x before hexadecimal ones), with K (KiB) or M (MiB) "
                    "after them, or pow2 for the next power of two, 128K at least")
        ->required()
        ->type_name("SIZE");
    pad->add_option("--fill", request->fill, "The byte appended, FF (the default) or 00")
        ->check(CLI::IsMember({"FF", "00"}, CLI::ignore_case))
        ->transform([](std::string fill) {
            std::transform(fill.begin(), fill.end(), fill.begin(),
                           [](char c) { return static_cast<char>(std::toupper(c)); });
            return fill;
        });
    pad->add_flag("--fix", request->fix, "Then set the ROM end and the checksum for the new size");
    addEditOutput(*pad, request->output);
    addFiles(*pad, request->paths);
    pad->callback([=, &status] { status = padFiles(*request, streams); });
}

void addConvert(CLI::App& app, Streams streams, int& status) {
    auto request = std::make_shared<ConvertRequest>();
    CLI::App* convert = app.add_subcommand(
        "convert", "Write IN's ROM to a new file OUT in another layout; IN is only read");
    convert->add_option("IN", request->source, "The ROM image to convert")->required();
    convert->add_option("OUT", request->destination, "The new file")->required();
    convert
        ->add_option("--to", request->to,
                     "bin: a plain image, from an interleaved (SMD) or byte-swapped one; smd: "
                     "an interleaved copier image, from a plain one of whole 16 KiB blocks")
        ->required()
        ->check(CLI::IsMember(layoutNames(&ImageLayout::convertKey)));
    convert->add_flag("--force", request->force, "Replace OUT if it exists");
    addLayout(*convert, request->layout);
    convert->callback([=, &status] { status = convertFile(*request, streams); });
}

void addLint(CLI::App& app, Streams streams, int& status) {
    auto files = std::make_shared<Files>();
    auto options = std::make_shared<LintOptions>();
    CLI::App* lint = app.add_subcommand(
        "lint", "Name what in each header consoles and emulators will get wrong, and what they "
                "will do; exit status 1 when a finding is an error");
    lint->add_flag("--strict", options->strict, "A warning fails a file too");
    const CLI::Validator ruleId(
        [](const std::string& id) {
            return findLintRule(id) ? std::string()
                                    : id + " is no rule's id; the ids are " + lintRuleIds();
        },
        "");
    lint->add_option("--allow", options->allowed,
                     "Leave out the findings of these rules (a comma list, or repeated)")
        ->delimiter(',')
        ->check(ruleId)
        ->type_name("ID,...");
    constexpr LintLevel levels[] = {LintLevel::Error, LintLevel::Warning, LintLevel::Note};
    std::vector<std::string> levelNames;
    for (const LintLevel level : levels)
        levelNames.emplace_back(lintLevelName(level));
    lint->add_option_function<std::string>(
            "--level",
            [options, levels](const std::string& name) {
                options->level =
                    *std::find_if(std::begin(levels), std::end(levels),
                                  [&](LintLevel level) { return lintLevelName(level) == name; });
            },
            "The least level shown (note, the default, shows all); what is not shown fails no "
            "file either")
        ->check(CLI::IsMember(levelNames))
        ->type_name("LEVEL");
    addBatchOptions(*lint, *options, *files, true);
    lint->footer("Rules (id, level, what it finds, and the behaviour it rests on):\n" +
                 lintRuleTable());
    lint->callback([=, &status] { status = lintFiles(*files, *options, streams); });
}

std::vector<std::string> optionNamesOf(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options()) {
        for (const std::string& name : option->get_lnames())
            names.push_back("--" + name);
    }
    return names;
}

// What a usage error says: an option or a command that is none is told with the names it was
// likely meant to be; anything else as CLI11 words it.
std::string usageProblem(const CLI::App& app, const CLI::ParseError& error) {
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    const CLI::App& command = parsed.empty() ? app : *parsed.front();
    const std::vector<std::string> extras = app.remaining(true);
    const auto option = std::find_if(extras.begin(), extras.end(), [](const std::string& extra) {
        return extra.size() > 1 && extra.starts_with('-') && extra != "--";
    });
    if (option != extras.end()) {
        const std::string typed = option->substr(0, option->find('='));
        const std::string of = parsed.empty() ? "" : " of " + command.get_name();
        const std::string hint = didYouMean(nearestNames(typed, optionNamesOf(command)));
        return displayText(typed) + " is no option" + of + "; " +
               (hint.empty() ? "quillon-cli" + (of.empty() ? "" : " " + command.get_name()) +
                                   " --help lists them"
                             : hint);
    }
    if (parsed.empty() && !extras.empty()) {
        std::vector<std::string> commands;
        for (const CLI::App* subcommand :
             app.get_subcommands(std::function<bool(const CLI::App*)>()))
            commands.push_back(subcommand->get_name());
        std::string hint = didYouMean(nearestNames(extras.front(), commands));
        if (hint.empty()) {
            hint = "the commands are ";
            for (const std::string& name : commands)
                hint += (name == commands.front() ? "" : ", ") + name;
        }
        return displayText(extras.front()) + " is no command; " + hint;
    }
    return error.what();
}

int parseAndRun(int argc, char* argv[]) {
    CLI::App app{
        "Shows, checks and edits the header of Sega Mega Drive / Genesis ROM images "
        "in place.\nExit status: 0 done, 1 checksum mismatch (check) or a failing "
        "finding (lint), 2 bad usage or input, or a file that cannot be worked on as asked "
        "(not a ROM, too short, byte-swapped, an interleaved image to pad), 3 a file or the output "
        "that could not be read or written.",
        "quillon-cli"};
    app.footer("Archives (" + archiveSuffixList() +
               ") are read in place and never written: show, check and lint read each member "
               "whose name ends in .bin, .gen, .md, .smd, .32x or .iso, named ARCHIVE#MEMBER, "
               "and ARCHIVE#MEMBER on the command line reads that member alone; set, fix, pad "
               "and convert refuse them (extract the ROM first). " +
               std::string(archivesReadText()));
    app.set_version_flag("--version", std::string(VersionText));
    app.require_subcommand(1, 1);
    // On Windows too a path may start with "/"; options are spelt the same everywhere.
    app.allow_windows_style_options(false);

    int status = Done;
    const Streams streams{std::cout, std::cerr, isTerminal(stdout), isTerminal(stderr)};
    addReading(app, showCommand, streams, status);
    addSet(app, streams, status);
    addReading(app, checkCommand, streams, status);
    addFix(app, streams, status);
    addPad(app, streams, status);
    addConvert(app, streams, status);
    addLint(app, streams, status);
    // After the subcommands, which would take it for their own footer.
    app.footer(numberSyntaxHelp());
    try {
        app.parse(argumentsFor(argc, argv, valueOptionsOf(app)));
    } catch (const CLI::ParseError& error) {
        // --help and --version end the parse too, without an error.
        if (error.get_exit_code() == 0)
            return app.exit(error) == 0 ? Done : BadInput;
        say(std::cerr, usageProblem(app, error));
        std::cerr << "Run with --help for more information.\n";
        return BadInput;
    }
    return status;
}

} // namespace

int run(int argc, char* argv[]) {
    int status = Done;
    try {
        status = parseAndRun(argc, argv);
    } catch (const std::exception& error) {
        say(std::cerr, displayText(error.what()));
        status = FileFailed;
    } catch (...) {
        say(std::cerr, "an unexpected failure");
        status = FileFailed;
    }
    // Buffered output may fail only now, when it is flushed: a full disk, a closed pipe.
    const bool failedBefore = !std::cout;
    errno = 0;
    if (!std::cout.flush()) {
        const int reason = errno;
        say(std::cerr,
            "the output could not be written" + (failedBefore || reason == 0
                                                     ? std::string()
                                                     : std::string(": ") + std::strerror(reason)));
        return FileFailed;
    }
    return status;
}

} // namespace quillon::cli
