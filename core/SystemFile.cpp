// SPDX-License-Identifier: MIT
#include "SystemFile.h"

#include "SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

// Why a file found with this status may not be opened as asked, or nullptr. Root may write any
// file, so a file that nobody may write is refused here, whoever we run as.
const char* refusal(const struct stat& status, SystemFile::Access access) {
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    if (access == SystemFile::Access::Write && (status.st_mode & 0222) == 0)
        return "read-only file";
    return nullptr;
}

} // namespace

SystemFile::SystemFile(std::string path, Access access) : m_path(std::move(path)) {
    // Looking before opening keeps us from opening a device at all (opening some has effects of
    // its own) and gives a read-only file its own reason, not "Permission denied"; the check
    // after opening, before anything is written, closes the gap in which the path could be
    // swapped or its mode changed.
    struct stat status {};
    if (::stat(m_path.c_str(), &status) != 0) {
        fail(errno);
        return;
    }
    if (const char* reason = refusal(status, access)) {
        fail(reason);
        return;
    }
    // Without O_CREAT a missing file stays missing; O_NONBLOCK keeps a FIFO from blocking us.
    const int mode = access == Access::Read ? O_RDONLY : O_RDWR;
    const int fd = ::open(m_path.c_str(), mode | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        fail(errno);
        return;
    }
    if (::fstat(fd, &status) != 0)
        fail(errno);
    else if (const char* reason = refusal(status, access))
        fail(reason);
    else
        m_file = fd;
    if (m_file < 0)
        ::close(fd);
}

bool SystemFile::isOpen() const { return m_file >= 0; }

SystemFile::~SystemFile() {
    if (m_file >= 0)
        ::close(m_file);
}

std::optional<std::size_t> SystemFile::readAt(std::uint64_t offset, std::uint8_t* buffer,
                                              std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            ::pread(m_file, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            fail(errno);
            return std::nullopt;
        }
        if (count == 0)
            break;
        done += static_cast<std::size_t>(count);
    }
    return done;
}

std::optional<std::uint64_t> SystemFile::size() {
    struct stat status {};
    if (::fstat(m_file, &status) != 0) {
        fail(errno);
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

bool SystemFile::allocate(std::uint64_t offset, std::uint64_t length) {
    // Unlike growing with ftruncate, which leaves a hole that a later write may find no space
    // for, this takes the blocks now; and it never shortens a file another process grew.
    const int error =
        ::posix_fallocate(m_file, static_cast<off_t>(offset), static_cast<off_t>(length));
    return error == 0 || fail(error);
}

bool SystemFile::truncate(std::uint64_t length) {
    return ::ftruncate(m_file, static_cast<off_t>(length)) == 0 || fail(errno);
}

bool SystemFile::writeAt(std::uint64_t offset, const void* bytes, std::size_t size) {
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    while (size > 0) {
        const ssize_t count = ::pwrite(m_file, next, size, static_cast<off_t>(offset));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? fail(errno) : fail("nothing could be written");
        next += count;
        offset += static_cast<std::uint64_t>(count);
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

bool SystemFile::flush() { return ::fsync(m_file) == 0 || fail(errno); }

bool SystemFile::close() {
    const int fd = m_file;
    m_file = NoFileHandle;
    return ::close(fd) == 0 || fail(errno);
}

} // namespace quillon
