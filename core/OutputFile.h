// SPDX-License-Identifier: MIT
// A new file, written under a name of its own in its destination's folder and moved into place
// only when it is whole and on the device: until then the destination stays as it was, and a
// file that is not finished is removed.
#pragma once

#include "FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

class OutputFile {
public:
    // Makes the file beside destination (a path in UTF-8); see isOpen.
    explicit OutputFile(std::string destination);
    ~OutputFile(); // removes the file, unless it was put in place
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool isOpen() const;
    // The system's reason for the first failure; the caller names the destination.
    const std::string& error() const { return m_error; }

    // Appends the bytes.
    bool write(const std::uint8_t* bytes, std::size_t size);

    // Flushes the file to the device and gives it the destination's name. A destination that
    // exists by then is replaced only when replace is true; otherwise it stays, and this fails.
    bool commit(bool replace);

private:
    bool fail(int errorNumber); // errno, or GetLastError() on Windows
    void discard();

    std::string m_destination;
    std::string m_temporary;
    std::string m_error;
    FileHandle m_file = NoFileHandle;
};

} // namespace quillon
