// SPDX-License-Identifier: MIT
// What an input stands for when it names an archive: each image member of it, or with
// ARCHIVE#MEMBER (as RetroArch names them) the one member of an existing archive. Members are
// read into memory and never written.
#pragma once

#include "ArchiveReader.h"
#include "ImageWalk.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::cli {

struct ArchivePath {
    std::string archive;
    std::string member; // empty: every image member
    const ArchiveFormat* format = nullptr;
};

// The archive a path names: an existing file whose name ends in an archive's suffix, or such a
// file, '#' and a member's name. A file that exists is always itself, '#' in its name or not.
std::optional<ArchivePath> archivePathOf(const std::string& path);

// Whether a member's name says it is an image the program reads as one (not a cue sheet).
bool isImageName(std::string_view name);

// Gives each input an input stands for: itself, or for an archive each image member (named
// ARCHIVE#MEMBER, opened from its bytes while each runs), or what kept the archive or a member
// from being read (as an input with its problem). Members passed over for a reason of their
// own (a cue sheet) are told through note.
void expandInput(const ImageInput& input, const std::function<void(const ImageInput&)>& each,
                 const std::function<void(const std::string&)>& note);

// Why a command that writes does not take the path: an archive, or a member of one.
std::optional<Problem> archiveWriteRefusal(const std::string& path);

} // namespace quillon::cli
