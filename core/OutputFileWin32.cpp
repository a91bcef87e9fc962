// SPDX-License-Identifier: MIT
// The Windows OutputFile: the same promises as the POSIX one, through CreateFileW and MoveFileExW.
#include "OutputFile.h"
#include "SystemError.h"
#include "WideText.h"

#include <algorithm>
#include <random>
#include <windows.h>

namespace quillon {

namespace {

HANDLE handleOf(void* handle) { return static_cast<HANDLE>(handle); }

} // namespace

OutputFile::OutputFile(std::string destination) : m_destination(std::move(destination)) {
    // A name of its own beside the destination, taken only if nobody has it (CREATE_NEW).
    std::random_device seed;
    std::mt19937 engine(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = m_destination + ".~" + std::to_string(engine() % 1000000);
        const HANDLE handle =
            ::CreateFileW(toUtf16(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_file = handle;
            m_temporary = candidate;
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            fail(static_cast<int>(::GetLastError()));
            return;
        }
    }
    fail(ERROR_FILE_EXISTS);
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::isOpen() const { return m_file != nullptr; }

bool OutputFile::write(const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        DWORD count = 0;
        const auto part = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
        if (!::WriteFile(handleOf(m_file), bytes, part, &count, nullptr))
            return fail(static_cast<int>(::GetLastError()));
        if (count == 0)
            return fail(ERROR_DISK_FULL);
        bytes += count;
        size -= count;
    }
    return true;
}

bool OutputFile::commit(bool replace) {
    if (!::FlushFileBuffers(handleOf(m_file)))
        return fail(static_cast<int>(::GetLastError()));
    const HANDLE handle = handleOf(m_file);
    m_file = NoFileHandle;
    if (!::CloseHandle(handle))
        return fail(static_cast<int>(::GetLastError()));
    // Without MOVEFILE_REPLACE_EXISTING the move fails if the destination exists.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!::MoveFileExW(toUtf16(m_temporary).c_str(), toUtf16(m_destination).c_str(), flags))
        return fail(static_cast<int>(::GetLastError()));
    m_temporary.clear();
    return true;
}

void OutputFile::discard() {
    if (m_file != nullptr)
        ::CloseHandle(handleOf(m_file));
    m_file = NoFileHandle;
    if (!m_temporary.empty())
        ::DeleteFileW(toUtf16(m_temporary).c_str());
    m_temporary.clear();
}

} // namespace quillon
