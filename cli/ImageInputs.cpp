// SPDX-License-Identifier: MIT
#include "ImageInputs.h"

#include "CueSheet.h"
#include "InMemoryFile.h"
#include "SystemFile.h"
#include "TextDisplay.h"

#include <memory>

namespace quillon::cli {

namespace {

// Opened the way every load opens: only a regular file that can be read counts.
bool isReadableFile(const std::string& path) {
    return SystemFile(path, SystemFile::Access::Read).isOpen();
}

} // namespace

std::optional<ArchivePath> archivePathOf(const std::string& path) {
    // Told by the name first, so that a file that is no archive costs no second open.
    const ArchiveFormat* whole = archiveFormatOf(path);
    if (whole && isReadableFile(path))
        return ArchivePath{path, {}, whole};
    if (path.find('#') == std::string::npos || isReadableFile(path))
        return std::nullopt;
    for (auto hash = path.find('#'); hash != std::string::npos; hash = path.find('#', hash + 1)) {
        const std::string archive = path.substr(0, hash);
        const ArchiveFormat* format = archiveFormatOf(archive);
        if (format && hash + 1 < path.size() && isReadableFile(archive))
            return ArchivePath{archive, path.substr(hash + 1), format};
    }
    return std::nullopt;
}

bool isImageName(std::string_view name) {
    const ImageExtension* extension = imageExtensionOf(name);
    return extension && !extension->archive && !IsCueSheetPath(std::string(name));
}

void expandInput(const ImageInput& input, const std::function<void(const ImageInput&)>& each,
                 const std::function<void(const std::string&)>& note) {
    const std::optional<ArchivePath> archive =
        input.problem || input.open ? std::nullopt : archivePathOf(input.name);
    if (!archive) {
        each(input);
        return;
    }
    bool found = false;
    const auto shown = [&](const std::string& name) { return archive->archive + "#" + name; };
    const MemberVisitor visitor{
        [&](const std::string& name) {
            if (!archive->member.empty())
                return name == archive->member;
            // A sheet names its track's file on disk, which a member has not.
            if (IsCueSheetPath(name))
                note("note: " + displayText(shown(name)) +
                     ": a cue sheet in an archive is not read; extract the archive to read its "
                     "disc");
            return isImageName(name);
        },
        [&](const std::string& name, const MemberBytes& bytes) {
            found = true;
            if (!bytes) {
                Problem problem = bytes.problem();
                problem.path = shown(name);
                each({shown(name), {}, problem});
                return;
            }
            const std::span<const std::uint8_t> held = *bytes;
            each({shown(name),
                  [held]() -> Result<std::unique_ptr<RandomAccessFile>> {
                      return std::unique_ptr<RandomAccessFile>(new InMemoryFile(held));
                  },
                  {}});
        }};
    if (const Result<> done = readArchive(archive->archive, *archive->format, visitor); !done)
        each({archive->archive, {}, done.problem()});
    else if (!found && !archive->member.empty())
        each({input.name, {}, Failure(input.name, "no such member in the archive")});
    else if (!found)
        each(
            {input.name,
             {},
             Refusal(input.name, std::string(archive->format->name) + " with no ROM image in it")});
}

std::optional<Problem> archiveWriteRefusal(const std::string& path) {
    const std::optional<ArchivePath> archive = archivePathOf(path);
    if (!archive)
        return std::nullopt;
    return Refusal(path, archive->member.empty()
                             ? std::string(archive->format->name) +
                                   ", which is only ever read; extract the ROM from it first"
                             : "a member of " + std::string(archive->format->name) +
                                   ", which is only ever read; extract it first");
}

} // namespace quillon::cli
