// SPDX-License-Identifier: MIT
#include "OutputFile.h"

#include "SystemError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillon {

OutputFile::OutputFile(std::string destination) : m_destination(std::move(destination)) {
    // A hidden name in the same folder, so that the move is a rename on one file system.
    const auto slash = m_destination.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : m_destination.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? m_destination : m_destination.substr(slash + 1);
    std::string pattern = folder + "." + name + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        return;
    }
    m_file = fd;
    m_temporary = buffer.data();
    ::fchmod(
        m_file, 0644 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return mask;
        }());
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::isOpen() const { return m_file >= 0; }

bool OutputFile::write(const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t count = ::write(m_file, bytes, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return fail(count < 0 ? errno : ENOSPC);
        bytes += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

bool OutputFile::commit(bool replace) {
    if (::fsync(m_file) != 0)
        return fail(errno);
    const int fd = m_file;
    m_file = NoFileHandle;
    if (::close(fd) != 0)
        return fail(errno);
    // Without replace, the name is taken only if nobody has it: renameat2 refuses otherwise;
    // where the file system cannot say, a hard link can.
    int moved = replace ? ::rename(m_temporary.c_str(), m_destination.c_str())
                        : ::renameat2(AT_FDCWD, m_temporary.c_str(), AT_FDCWD,
                                      m_destination.c_str(), RENAME_NOREPLACE);
    if (!replace && moved != 0 && errno == EINVAL) {
        moved = ::link(m_temporary.c_str(), m_destination.c_str());
        if (moved == 0)
            ::unlink(m_temporary.c_str());
    }
    if (moved != 0)
        return fail(errno);
    m_temporary.clear();
    return true;
}

void OutputFile::discard() {
    if (m_file >= 0)
        ::close(m_file);
    m_file = NoFileHandle;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

} // namespace quillon
