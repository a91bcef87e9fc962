// SPDX-License-Identifier: MIT
// An open ROM file, on POSIX systems or on Windows (paths in UTF-8). It never creates a file and
// never opens anything but a regular file, and each failure is kept as a message with the path
// and the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class SystemFile {
public:
    enum class Access { Read, Write };

    SystemFile(std::string path, Access access);
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    bool isOpen() const;
    const std::string& error() const { return m_error; }

    // Reads on from the current position: the number of bytes read, 0 at the end of the file.
    std::optional<std::size_t> read(std::uint8_t* buffer, std::size_t size);

    std::optional<std::uint64_t> size();

    // Grows the file with zeros up to length; a longer file is left alone.
    bool extendTo(std::uint64_t length);

    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size);

    // Flushes the written bytes to the storage device and closes the file.
    bool flushAndClose();

private:
    bool fail(int errorNumber); // errno, or GetLastError() on Windows
    bool fail(const char* reason);

    std::string m_path;
    std::string m_error;
#ifdef _WIN32
    void* m_handle = nullptr; // a HANDLE, declared without <windows.h>
#else
    int m_fd = -1;
#endif
};

} // namespace quillon
