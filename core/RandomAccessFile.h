// SPDX-License-Identifier: MIT
// What a save needs of an open file: reading and writing at an offset, its length, and making
// the writes last. SystemFile is the real one; the tests have one in memory that counts writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;

    virtual bool isOpen() const = 0;
    // The reason of the first failure, without the path, which the caller names.
    virtual const std::string& error() const = 0;

    // Reads up to size bytes at offset: the number read, fewer only where the file ends.
    virtual std::optional<std::size_t> readAt(std::uint64_t offset, std::uint8_t* buffer,
                                              std::size_t size) = 0;
    virtual std::optional<std::uint64_t> size() = 0;
    // Reserves storage for the bytes from offset to offset + length, so that writing them
    // cannot run out of space, and grows a shorter file with zeros up to their end. It never
    // shortens the file.
    virtual bool allocate(std::uint64_t offset, std::uint64_t length) = 0;
    // Sets the file's length; used only to take back a growth.
    virtual bool truncate(std::uint64_t length) = 0;
    virtual bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size) = 0;
    // Flushes the written bytes to the storage device.
    virtual bool flush() = 0;
    // Closes the file; some file systems report a failed write only here.
    virtual bool close() = 0;

protected:
    RandomAccessFile() = default;
    RandomAccessFile(const RandomAccessFile&) = default;
    RandomAccessFile& operator=(const RandomAccessFile&) = default;
};

} // namespace quillon
