// SPDX-License-Identifier: MIT
#include "ImageInputs.h"

#include "InMemoryFile.h"
#include "SystemFile.h"
#include "TextDisplay.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quillon::cli {

namespace {

constexpr std::array<std::string_view, 6> imageSuffixes{".bin", ".gen", ".md",
                                                        ".smd", ".32x", ".iso"};

bool endsWithFolded(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() &&
           std::equal(
               suffix.begin(), suffix.end(), name.end() - static_cast<long>(suffix.size()),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Opened the way every load opens: only a regular file that can be read counts.
bool isReadableFile(const std::string& path) {
    return SystemFile(path, SystemFile::Access::Read).isOpen();
}

} // namespace

std::optional<ArchivePath> archivePathOf(const std::string& path) {
    if (isReadableFile(path)) {
        if (const ArchiveFormat* format = archiveFormatOf(path))
            return ArchivePath{path, {}, format};
        return std::nullopt;
    }
    for (auto hash = path.find('#'); hash != std::string::npos; hash = path.find('#', hash + 1)) {
        const std::string archive = path.substr(0, hash);
        const ArchiveFormat* format = archiveFormatOf(archive);
        if (format && hash + 1 < path.size() && isReadableFile(archive))
            return ArchivePath{archive, path.substr(hash + 1), format};
    }
    return std::nullopt;
}

bool isImageName(std::string_view name) {
    return std::any_of(imageSuffixes.begin(), imageSuffixes.end(),
                       [name](std::string_view suffix) { return endsWithFolded(name, suffix); });
}

void forEachImage(const std::string& path, Streams streams, ExitStatus& status,
                  const ImageReader& read) {
    const std::optional<ArchivePath> archive = archivePathOf(path);
    if (!archive) {
        read(path, nullptr);
        return;
    }
    bool found = false;
    const auto shown = [&](const std::string& name) { return archive->archive + "#" + name; };
    const MemberVisitor visitor{
        [&](const std::string& name) {
            if (!archive->member.empty())
                return name == archive->member;
            // A sheet names its track's file on disk, which a member has not.
            if (endsWithFolded(name, ".cue"))
                say(streams.err, "note: " + displayText(shown(name)) +
                                     ": a cue sheet in an archive is not read; extract the "
                                     "archive to read its disc");
            return isImageName(name);
        },
        [&](const std::string& name, const MemberBytes& bytes) {
            found = true;
            if (!bytes) {
                Problem problem = bytes.problem();
                problem.path = shown(name);
                raise(status, report(streams.err, problem, Doing::Reading));
                return;
            }
            InMemoryFile file(*bytes);
            read(shown(name), &file);
        }};
    if (const Result<> done = readArchive(archive->archive, *archive->format, visitor); !done) {
        raise(status, report(streams.err, done.problem(), Doing::Reading));
    } else if (!found && !archive->member.empty()) {
        raise(status,
              report(streams.err, Failure(path, "no such member in the archive"), Doing::Reading));
    } else if (!found) {
        raise(status, report(streams.err,
                             Refusal(path, std::string(archive->format->name) +
                                               " with no ROM image in it (.bin .gen .md .smd "
                                               ".32x .iso)"),
                             Doing::Reading));
    }
}

Result<LoadedHeader> loadImage(const std::string& name, RandomAccessFile* member,
                               const ImageLayout* layout, bool toEdit) {
    if (member)
        return toEdit ? LoadHeaderToEdit(*member, name, layout) : LoadHeader(*member, name, layout);
    return toEdit ? LoadHeaderToEdit(name, layout) : LoadHeader(name, layout);
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
