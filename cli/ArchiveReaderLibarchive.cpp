// SPDX-License-Identifier: MIT
// Every format through libarchive: only the container the name says is offered to it, so that a
// ".zip" is never read as something else, and any of the three compressions under it.
#include "ArchiveReader.h"

#include <archive.h>
#include <archive_entry.h>
#include <iterator>
#include <memory>
#include <vector>

namespace quillon::cli {

namespace {

struct ArchiveFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};

// libarchive asks for a block size; larger blocks cost more than they save for ROMs of a few MiB.
constexpr std::size_t blockSize = 256 * 1024;

// What libarchive reads each container with, row for row with Container.
constexpr int (*supportFormat[])(archive*) = {
    archive_read_support_format_zip,
    archive_read_support_format_7zip,
    archive_read_support_format_tar,
    archive_read_support_format_raw,
};
static_assert(static_cast<std::size_t>(Container::Single) + 1 == std::size(supportFormat));

} // namespace

Result<> readArchiveWithLibarchive(const std::string& path, const ArchiveFormat& format,
                                   const MemberVisitor& visitor) {
    const std::unique_ptr<archive, ArchiveFree> reader(archive_read_new());
    if (!reader)
        return Failure(path, "out of memory");
    supportFormat[static_cast<std::size_t>(format.container)](reader.get());
    archive_read_support_filter_gzip(reader.get());
    archive_read_support_filter_xz(reader.get());
    archive_read_support_filter_bzip2(reader.get());
    const auto damaged = [&] {
        const char* why = archive_error_string(reader.get());
        return damagedArchive(path, format, why ? why : "no reason given");
    };
    // The file was found readable before, so what keeps it from opening is its bytes.
    if (archive_read_open_filename(reader.get(), path.c_str(), blockSize) != ARCHIVE_OK)
        return damaged();
    std::vector<std::uint8_t> bytes;
    for (;;) {
        archive_entry* entry = nullptr;
        const int next = archive_read_next_header(reader.get(), &entry);
        if (next == ARCHIVE_EOF)
            break;
        if (next < ARCHIVE_WARN)
            return damaged();
        if (format.container != Container::Single && archive_entry_filetype(entry) != AE_IFREG)
            continue;
        const char* entryName = archive_entry_pathname_utf8(entry);
        if (!entryName)
            entryName = archive_entry_pathname(entry);
        const std::string name = format.container == Container::Single
                                     ? singleMemberName(path, format)
                                     : std::string(entryName ? entryName : "");
        if (!visitor.wanted(name))
            continue;
        const bool sized =
            archive_entry_size_is_set(entry) && format.container != Container::Single;
        const auto size = static_cast<std::uint64_t>(archive_entry_size(entry));
        if (sized && size > LargestMember) {
            visitor.take(name, memberTooLarge(name));
            continue;
        }
        // A size the header gives is read at once; without one the bytes grow until the end.
        bytes.resize(sized ? static_cast<std::size_t>(size) : blockSize);
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                if (sized || bytes.size() > LargestMember)
                    break;
                bytes.resize(bytes.size() * 2);
            }
            const la_ssize_t read =
                archive_read_data(reader.get(), bytes.data() + filled, bytes.size() - filled);
            if (read < 0)
                return damaged();
            if (read == 0)
                break;
            filled += static_cast<std::size_t>(read);
        }
        if (filled > LargestMember) {
            visitor.take(name, memberTooLarge(name));
            continue;
        }
        if (sized && filled != size)
            return damaged();
        visitor.take(name, std::span<const std::uint8_t>(bytes.data(), filled));
    }
    return {};
}

} // namespace quillon::cli
