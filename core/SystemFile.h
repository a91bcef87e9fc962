// SPDX-License-Identifier: MIT
// An open ROM file, on POSIX systems or on Windows (paths in UTF-8). It never creates a file,
// never opens anything but a regular file, and never opens for writing a read-only file (no
// write bit for anyone; on Windows the read-only attribute), even for root. The reason of the
// first failure is kept; the caller knows the path.
#pragma once

#include "FileHandle.h"
#include "RandomAccessFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class SystemFile final : public RandomAccessFile {
public:
    // Write opens for reading as well: a save looks at the file before it changes it.
    enum class Access { Read, Write };

    SystemFile(std::string path, Access access);
    ~SystemFile() override;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    // What each does is said in RandomAccessFile.h.
    bool isOpen() const override;
    const std::string& error() const override { return m_error; }
    std::optional<std::size_t> readAt(std::uint64_t offset, std::uint8_t* buffer,
                                      std::size_t size) override;
    std::optional<std::uint64_t> size() override;
    bool allocate(std::uint64_t offset, std::uint64_t length) override;
    bool truncate(std::uint64_t length) override;
    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size) override;
    bool flush() override;
    bool close() override;

private:
    bool fail(int errorNumber); // errno, or GetLastError() on Windows
    bool fail(const char* reason);

    std::string m_path;
    std::string m_error;
    FileHandle m_file = NoFileHandle;
};

} // namespace quillon
