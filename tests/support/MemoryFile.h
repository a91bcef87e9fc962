// SPDX-License-Identifier: MIT
// A file held in memory that counts the writes made to it, so a test sees how a save writes.
#pragma once

#include "RandomAccessFile.h"
#include "TempDir.h"

#include <algorithm>
#include <cstring>

namespace quillon::test {

class MemoryFile final : public RandomAccessFile {
public:
    explicit MemoryFile(Bytes bytes) : m_bytes(std::move(bytes)) {}

    const Bytes& bytes() const { return m_bytes; }
    int writes() const { return m_writes; }

    bool isOpen() const override { return true; }
    const std::string& error() const override { return m_error; }
    std::optional<std::size_t> readAt(std::uint64_t offset, std::uint8_t* buffer,
                                      std::size_t size) override {
        const std::size_t count =
            offset >= m_bytes.size() ? 0 : std::min<std::size_t>(size, m_bytes.size() - offset);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, buffer);
        return count;
    }
    std::optional<std::uint64_t> size() override { return m_bytes.size(); }
    bool allocate(std::uint64_t offset, std::uint64_t length) override {
        m_bytes.resize(std::max<std::size_t>(m_bytes.size(), offset + length));
        return true;
    }
    bool truncate(std::uint64_t length) override {
        m_bytes.resize(length);
        return true;
    }
    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size) override {
        ++m_writes;
        m_bytes.resize(std::max<std::size_t>(m_bytes.size(), offset + size));
        std::memcpy(m_bytes.data() + offset, bytes, size);
        return true;
    }
    bool flush() override { return true; }
    bool close() override { return true; }

private:
    Bytes m_bytes;
    std::string m_error;
    int m_writes = 0;
};

} // namespace quillon::test
