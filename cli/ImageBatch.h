// SPDX-License-Identifier: MIT
// A command that reads (show, check, lint) run over every file its command line names: one
// record a file in order, a file that cannot be read one too, the worst exit status met, a
// summary and, on a terminal, how far a long run is.
#pragma once

#include "FileCommands.h"
#include "ImageWalk.h"

#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::cli {

using Json = nlohmann::ordered_json;

// What show, check and lint share of their options.
struct BatchOptions {
    bool json = false;
    bool recursive = false;              // folders are walked (walkInputs)
    bool quiet = false;                  // the records of files that pass are left out
    const ImageLayout* layout = nullptr; // --layout, instead of the one the bytes tell
};

// How a file the command worked on came out. A failing one makes the exit status Flagged.
enum class FileVerdict { Pass, Fail };

// The files a command works on: any file read (lint), or only one an editor works on (show,
// check), as LoadHeaderToEdit takes them.
enum class Takes { AnyFile, EditableFile };

// A command's work on one input read: writes its record to out and gives its verdict, or the
// problem that leaves the file undone, which the batch tells as it tells a file that cannot be
// read (the step then writes nothing).
using ImageStep = std::function<Result<FileVerdict>(const ImageInput& input,
                                                    const LoadedHeader& header, std::ostream& out)>;

// Runs step over the inputs the paths name, in order, each loaded through loadInput. A file
// that cannot be read, or is refused, is told on the error stream and, with json, gets a record
// of its own: path, path_hex and error. Of more than one input, text output ends with a summary
// on the error stream: "N files: P pass, F fail, U could not be read".
ExitStatus runBatch(const std::vector<std::string>& paths, const BatchOptions& options, Takes takes,
                    const ImageStep& step, Streams streams);

// A JSON record's start: the path (bytes that are not UTF-8 are replaced when it is dumped),
// and path_hex, which keeps them.
Json recordJson(const std::string& name);

// A record as one line of JSON, without the line break.
std::string jsonText(const Json& record);

// Whether a standard stream is a terminal, where a long batch shows its progress.
bool isTerminal(std::FILE* stream);

} // namespace quillon::cli
