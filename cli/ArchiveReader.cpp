// SPDX-License-Identifier: MIT
#include "ArchiveReader.h"

#include "FoldedNames.h"

#include <algorithm>
#include <array>

namespace quillon::cli {

namespace {

// Longer suffixes first, so that ".tar.gz" is met before ".gz".
constexpr std::array<ArchiveFormat, 10> archiveFormats{{
    {".tar.gz", Container::Tar, Compression::Gzip, "a gzip-compressed tar archive"},
    {".tar.xz", Container::Tar, Compression::Xz, "an xz-compressed tar archive"},
    {".tar.bz2", Container::Tar, Compression::Bzip2, "a bzip2-compressed tar archive"},
    {".tgz", Container::Tar, Compression::Gzip, "a gzip-compressed tar archive"},
    {".tar", Container::Tar, Compression::None, "a tar archive"},
    {".zip", Container::Zip, Compression::None, "a ZIP archive"},
    {".7z", Container::SevenZip, Compression::None, "a 7z archive"},
    {".gz", Container::Single, Compression::Gzip, "a gzip file"},
    {".xz", Container::Single, Compression::Xz, "an xz file"},
    {".bz2", Container::Single, Compression::Bzip2, "a bzip2 file"},
}};

} // namespace

const ArchiveFormat* archiveFormatOf(std::string_view path) {
    const auto found = std::find_if(
        archiveFormats.begin(), archiveFormats.end(),
        [path](const ArchiveFormat& format) { return endsWithFolded(path, format.suffix); });
    return found == archiveFormats.end() ? nullptr : &*found;
}

std::string archiveSuffixList() {
    std::string list;
    for (const ArchiveFormat& format : archiveFormats)
        list.append(list.empty() ? "" : ", ").append(format.suffix);
    return list;
}

std::string singleMemberName(std::string_view path, const ArchiveFormat& format) {
#ifdef _WIN32
    const auto slash = path.find_last_of("/\\");
#else
    const auto slash = path.find_last_of('/');
#endif
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name.substr(0, name.size() - format.suffix.size()));
}

Problem damagedArchive(const std::string& path, const ArchiveFormat& format, std::string_view why) {
    return Failure(path, "damaged, or not " + std::string(format.name) + ": " + std::string(why));
}

Problem memberTooLarge(const std::string& name) {
    return Refusal(name, "larger than " + std::to_string(LargestMember >> 20) +
                             " MiB, the most read from an archive; extract it first");
}

std::string_view archivesReadText() {
#ifdef QUILLON_LIBARCHIVE
    return "This build reads all of them, through libarchive.";
#else
    return "This build reads ZIP archives and gzip files, through zlib; extract the others first.";
#endif
}

Result<> readArchive(const std::string& path, const ArchiveFormat& format,
                     const MemberVisitor& visitor) {
#ifdef QUILLON_LIBARCHIVE
    return readArchiveWithLibarchive(path, format, visitor);
#else
    return readArchiveWithZlib(path, format, visitor);
#endif
}

} // namespace quillon::cli
