// SPDX-License-Identifier: MIT
// Archives that collections keep ROMs in (ZIP, 7z, tar, and single compressed files), read in
// place into memory and never written. Which formats a build reads depends on its reader: the
// Linux build reads them all through libarchive, the Windows build ZIP and gzip through zlib.
#pragma once

#include "Outcome.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quillon::cli {

// The largest member read into memory: the largest cartridge ROMs are a few MiB, a Mega-CD ISO
// hundreds, and a disc is best read extracted.
inline constexpr std::uint64_t LargestMember = std::uint64_t{64} << 20;

enum class Container { Zip, SevenZip, Tar, Single };
enum class Compression { None, Gzip, Xz, Bzip2 };

// A format as a file's name gives it.
struct ArchiveFormat {
    std::string_view suffix; // lower case, as the name ends
    Container container;
    Compression compression; // of the whole file: a tar's or a single file's
    std::string_view name;   // "a ZIP archive"
};

// The archive format the path's name ends in (in any case), or nullptr.
const ArchiveFormat* archiveFormatOf(std::string_view path);

// Every archive suffix, comma-separated, for the help text.
std::string archiveSuffixList();

// Which of the formats this build reads, for the help text.
std::string_view archivesReadText();

// The name of a single compressed file's one member: its file name without the suffix.
std::string singleMemberName(std::string_view path, const ArchiveFormat& format);

// A member's bytes as the reader hands them over, valid until the call returns, or why they
// were not read (a member too large, encrypted, or compressed in a way the reader does not know).
using MemberBytes = Result<std::span<const std::uint8_t>>;

// What a reader is asked for: whether a member (by its name in the archive) is wanted, and each
// wanted member's bytes. Folders are never offered.
struct MemberVisitor {
    std::function<bool(const std::string& name)> wanted;
    std::function<void(const std::string& name, const MemberBytes& bytes)> take;
};

// Reads the archive's members in their order. Fails when the archive cannot be opened or is
// damaged (the members before the damage have been taken); refuses a format the build does not
// read. Problems name the path.
Result<> readArchive(const std::string& path, const ArchiveFormat& format,
                     const MemberVisitor& visitor);

// The readers behind it, each on the builds that have it: libarchive's (not on Windows) and the
// ZIP and gzip reader over zlib (everywhere, so that its tests run natively too).
Result<> readArchiveWithLibarchive(const std::string& path, const ArchiveFormat& format,
                                   const MemberVisitor& visitor);
Result<> readArchiveWithZlib(const std::string& path, const ArchiveFormat& format,
                             const MemberVisitor& visitor);

// An archive that cannot be read as the format its name gives, and why.
Problem damagedArchive(const std::string& path, const ArchiveFormat& format, std::string_view why);

// A member refused for its size.
Problem memberTooLarge(const std::string& name);

} // namespace quillon::cli
