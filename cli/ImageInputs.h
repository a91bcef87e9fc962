// SPDX-License-Identifier: MIT
// What a path on the command line stands for: a file read as itself, an archive whose image
// members are each read, or ARCHIVE#MEMBER, the one member of an existing archive (as RetroArch
// names them). Members are read into memory and never written.
#pragma once

#include "ArchiveReader.h"
#include "FileCommands.h"
#include "RandomAccessFile.h"

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

// Whether a member's name says it is an image the program reads (.bin .gen .md .smd .32x .iso).
bool isImageName(std::string_view name);

// Called for each image a path stands for, with the name it is shown by (the path, or
// ARCHIVE#MEMBER) and, for a member, its bytes as a file; nullptr for a file read from disk.
using ImageReader = std::function<void(const std::string& name, RandomAccessFile* member)>;

// Reads each image the path stands for. What keeps an archive or a member from being read is
// said on the error stream and raises status; the other members are still read.
void forEachImage(const std::string& path, Streams streams, ExitStatus& status,
                  const ImageReader& read);

// Loads an image forEachImage gave, for an editor (refused as LoadHeaderToEdit refuses) or not.
Result<LoadedHeader> loadImage(const std::string& name, RandomAccessFile* member,
                               const ImageLayout* layout, bool toEdit);

// Why a command that writes does not take the path: an archive, or a member of one.
std::optional<Problem> archiveWriteRefusal(const std::string& path);

} // namespace quillon::cli
