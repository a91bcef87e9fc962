// SPDX-License-Identifier: MIT
#include "CliApp.h"

#include "FileCommands.h"
#include "QuillonVersion.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace quillon::cli {

int run(int argc, char* argv[]) {
    CLI::App app{"Shows, checks and edits the header of Sega Mega Drive / Genesis ROM images "
                 "in place.\nExit status: 0 done, 1 checksum mismatch (check), 2 bad usage or "
                 "input, 3 a file that could not be read or written.",
                 "quillon-cli"};
    app.set_version_flag("--version", std::string(VersionText));
    app.require_subcommand(1, 1);
    // On Windows too a path may start with "/"; options are spelt the same everywhere.
    app.allow_windows_style_options(false);

    std::vector<std::string> files;
    bool json = false;
    CLI::App* show = app.add_subcommand("show", "Show the header fields and both checksums");
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
        set->add_option("--checksum", checksum, "Checksum to store, in hexadecimal");
    CLI::Option* fixOption = set->add_flag("--fix-checksum", request.fixChecksum,
                                           "Store the checksum calculated over the ROM");
    checksumOption->excludes(fixOption);

    CLI::App* check =
        app.add_subcommand("check", "Compare each file's stored checksum with the calculated one");
    check->add_option("FILE", files, "ROM image files")->required();
    CLI::App* fix = app.add_subcommand("fix", "Store the calculated checksum in each file");
    fix->add_option("FILE", files, "ROM image files")->required();

    try {
        app.parse(argc, argv);
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
    for (std::size_t i = 0; i < HeaderFieldCount; ++i) {
        if (textOptions[i]->count() > 0)
            request.texts[i] = texts[i];
    }
    if (checksumOption->count() > 0)
        request.checksum = checksum;
    return setFields(request, streams);
}

} // namespace quillon::cli
