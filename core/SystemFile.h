// SPDX-License-Identifier: MIT
// An open ROM file, on POSIX systems or on Windows (paths in UTF-8). It never creates a file,
// never opens anything but a regular file, and never opens for writing a read-only file (no
// write bit for anyone; on Windows the read-only attribute), even for root. Each failure is kept
// as a message with the path and the reason (the first one only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class SystemFile {
public:
    // Write opens for reading as well: a save looks at the file before it changes it.
    enum class Access { Read, Write };

    SystemFile(std::string path, Access access);
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    bool isOpen() const;
    const std::string& error() const { return m_error; }

    // Reads up to size bytes at offset: the number read, fewer only where the file ends.
    std::optional<std::size_t> readAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t size);

    std::optional<std::uint64_t> size();

    // Reserves storage for the bytes from offset to offset + length, so that writing them cannot
    // run out of space, and grows a shorter file with zeros up to their end. It never shortens
    // the file.
    bool allocate(std::uint64_t offset, std::uint64_t length);

    // Sets the file's length; used only to take back a growth.
    bool truncate(std::uint64_t length);

    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size);

    // Flushes the written bytes to the storage device.
    bool flush();

    // Closes the file; some file systems report a failed write only here.
    bool close();

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
