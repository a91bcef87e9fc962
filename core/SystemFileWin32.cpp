// SPDX-License-Identifier: MIT
// The Windows SystemFile: the same promises as the POSIX one, through CreateFileW and UTF-16 paths.
#include "SystemError.h"
#include "SystemFile.h"
#include "WideText.h"

#include <algorithm>
#include <windows.h>

namespace quillon {

namespace {

// ReadFile and WriteFile count in 32 bits; a gigabyte at a time stays well inside that.
constexpr std::size_t MaxTransfer = std::size_t{1} << 30;

HANDLE handleOf(void* handle) { return static_cast<HANDLE>(handle); }

// Why a file with these attributes may not be opened as asked, or nullptr. Windows itself
// refuses to write a read-only file, except where it runs on another system's permissions
// (Wine, as root): said here, it holds everywhere, with the same reason as on POSIX.
const char* refusal(DWORD attributes, SystemFile::Access access) {
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return "not a regular file";
    if (access == SystemFile::Access::Write && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return "read-only file";
    return nullptr;
}

// Reads and writes name their position, so they need no seek and leave none behind.
OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

} // namespace

SystemFile::SystemFile(std::string path, Access access) : m_path(std::move(path)) {
    const std::wstring widePath = toUtf16(m_path);
    // Opening a folder, or a read-only file for writing, would fail anyway (mostly), but with a
    // reason that does not say why.
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        fail(static_cast<int>(::GetLastError()));
        return;
    }
    if (const char* reason = refusal(attributes, access)) {
        fail(reason);
        return;
    }
    const bool reading = access == Access::Read;
    // OPEN_EXISTING keeps a missing file missing. Others may read the file while we hold it; while
    // we write it, nobody else may write. A save reads the file before it changes it.
    const HANDLE handle = ::CreateFileW(
        widePath.c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
        reading ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, reading ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(static_cast<int>(::GetLastError()));
        return;
    }
    // Device names such as NUL and CON open as devices wherever they appear in a path. The
    // attributes are looked at again, of what was opened and before anything is written: the
    // path may have been swapped, or the file made read-only, since.
    BY_HANDLE_FILE_INFORMATION opened{};
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        fail("not a regular file");
    else if (!::GetFileInformationByHandle(handle, &opened))
        fail(static_cast<int>(::GetLastError()));
    else if (const char* reason = refusal(opened.dwFileAttributes, access))
        fail(reason);
    else
        m_file = handle;
    if (m_file == nullptr)
        ::CloseHandle(handle);
}

bool SystemFile::isOpen() const { return m_file != nullptr; }

SystemFile::~SystemFile() {
    if (m_file != nullptr)
        ::CloseHandle(handleOf(m_file));
}

std::optional<std::size_t> SystemFile::readAt(std::uint64_t offset, std::uint8_t* buffer,
                                              std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position = at(offset + done);
        DWORD count = 0;
        if (!::ReadFile(handleOf(m_file), buffer + done,
                        static_cast<DWORD>(std::min(size - done, MaxTransfer)), &count,
                        &position)) {
            // Reading at a position past the end is an error here, not a count of zero.
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            fail(static_cast<int>(::GetLastError()));
            return std::nullopt;
        }
        if (count == 0)
            break;
        done += count;
    }
    return done;
}

std::optional<std::uint64_t> SystemFile::size() {
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(handleOf(m_file), &length)) {
        fail(static_cast<int>(::GetLastError()));
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(length.QuadPart);
}

bool SystemFile::allocate(std::uint64_t offset, std::uint64_t length) {
    // The bytes a file already has keep their clusters; moving its end takes the clusters for
    // the new ones at once (a file is not sparse unless asked to be), and they read as zeros.
    const auto current = size();
    if (!current)
        return false;
    return *current >= offset + length || truncate(offset + length);
}

bool SystemFile::truncate(std::uint64_t length) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    return ::SetFileInformationByHandle(handleOf(m_file), FileEndOfFileInfo, &end, sizeof end) ||
           fail(static_cast<int>(::GetLastError()));
}

bool SystemFile::writeAt(std::uint64_t offset, const void* bytes, std::size_t size) {
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    while (size > 0) {
        OVERLAPPED position = at(offset);
        DWORD count = 0;
        if (!::WriteFile(handleOf(m_file), next, static_cast<DWORD>(std::min(size, MaxTransfer)),
                         &count, &position))
            return fail(static_cast<int>(::GetLastError()));
        if (count == 0)
            return fail("nothing could be written");
        next += count;
        offset += count;
        size -= count;
    }
    return true;
}

bool SystemFile::flush() {
    return ::FlushFileBuffers(handleOf(m_file)) || fail(static_cast<int>(::GetLastError()));
}

bool SystemFile::close() {
    const HANDLE handle = handleOf(m_file);
    m_file = NoFileHandle;
    return ::CloseHandle(handle) || fail(static_cast<int>(::GetLastError()));
}

} // namespace quillon
