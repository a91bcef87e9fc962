// SPDX-License-Identifier: MIT
// The files a command line names: each path as given, or with --recursive each folder walked
// for the files whose names say they are images, in a stable order.
#pragma once

#include "HeaderFile.h"
#include "Outcome.h"
#include "RandomAccessFile.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cli {

// A name ending a walk takes: the images' own, and the archives that may hold them.
struct ImageExtension {
    std::string_view suffix; // lower-case, with its dot
    bool archive = false;
};

// The extension a file's name ends in, in any case (the longest, ".tar.gz" before ".gz"), or
// nothing when the walk passes the file over.
const ImageExtension* imageExtensionOf(std::string_view name);

// The extensions, comma-separated, for the help text.
std::string imageExtensionList();

// One file a command works on, and how it is reached.
struct ImageInput {
    std::string name; // the path given or found, as messages and records name it
    // Opens the bytes when they are not a file of that name (a member of an archive); empty for
    // a file, read by its name.
    std::function<Result<std::unique_ptr<RandomAccessFile>>()> open;
    // A member of an archive, which no command writes.
    bool isMember() const { return static_cast<bool>(open); }
    // Set when the walk found the input and could not go on into it (a folder it cannot list):
    // the input's record tells it.
    std::optional<Problem> problem;
};

// The inputs the paths name, in their order. Without recursive each path is one input, a folder
// too (which then cannot be read). With it, a folder stands for every file under it whose name
// ends in an image extension, sorted by path; hidden entries (a name starting with ".") and
// symbolic links to folders are passed over, and a file a cue sheet of the same walk names is
// left to the sheet.
std::vector<ImageInput> walkInputs(const std::vector<std::string>& paths, bool recursive);

// The input's header: read through open, or from the file of its name (a cue sheet through
// its data track); the walk's problem, when it had one.
Result<LoadedHeader> loadInput(const ImageInput& input, const ImageLayout* layout);

} // namespace quillon::cli
