// SPDX-License-Identifier: MIT
// Archives made up for the tests around ROMs they make: ZIP, gzip and tar written here with
// zlib's deflate (so the readers are tried on bytes no archiver of theirs made), the other
// formats through libarchive where the build has it.
#pragma once

#include "TempDir.h"

#include <string>
#include <vector>

namespace quillon::test {

struct ArchiveMemberBytes {
    std::string name;
    Bytes bytes;
};

// The archive of the format (zip, tar, tar.gz, gz; with libarchive also 7z, tar.xz, tar.bz2,
// xz, bz2) that holds the members in their order; a single compressed file holds the first.
// Throws for a format this build cannot make.
Bytes makeArchive(const std::string& format, const std::vector<ArchiveMemberBytes>& members);

} // namespace quillon::test
