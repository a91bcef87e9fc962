// SPDX-License-Identifier: MIT
// Bytes held in memory read as a file: a ROM taken out of an archive is loaded by the same code
// as one on disk, with no copy of it written anywhere. It is never written: every write fails.
#pragma once

#include "RandomAccessFile.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

namespace quillon {

class InMemoryFile final : public RandomAccessFile {
public:
    // The bytes must outlive the file.
    explicit InMemoryFile(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool isOpen() const override { return true; }
    const std::string& error() const override { return m_error; }
    std::optional<std::size_t> readAt(std::uint64_t offset, std::uint8_t* buffer,
                                      std::size_t size) override {
        if (offset >= m_bytes.size())
            return 0;
        const std::size_t count = std::min<std::size_t>(size, m_bytes.size() - offset);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, buffer);
        return count;
    }
    std::optional<std::uint64_t> size() override { return m_bytes.size(); }
    bool allocate(std::uint64_t, std::uint64_t) override { return refuse(); }
    bool truncate(std::uint64_t) override { return refuse(); }
    bool writeAt(std::uint64_t, const void*, std::size_t) override { return refuse(); }
    bool flush() override { return true; }
    bool close() override { return true; }

private:
    bool refuse() {
        m_error = "held in memory, never written";
        return false;
    }

    std::span<const std::uint8_t> m_bytes;
    std::string m_error;
};

} // namespace quillon
