// SPDX-License-Identifier: MIT
#include "SystemError.h"
#include "WideText.h"

#include <windows.h>

namespace quillon {

namespace {

std::string withoutTrailingSpace(std::string text) {
    const auto end = text.find_last_not_of(" \t\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace

std::string systemErrorText(int errorNumber) {
    wchar_t* buffer = nullptr;
    // One line, as the reasons are on POSIX systems: the message's own line breaks become spaces.
    constexpr DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                            FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    const DWORD length = ::FormatMessageW(flags, nullptr, static_cast<DWORD>(errorNumber), 0,
                                          reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string message = length > 0 ? withoutTrailingSpace(toUtf8({buffer, length})) : "";
    ::LocalFree(buffer);
    return message.empty() ? "system error " + std::to_string(errorNumber) : message;
}

} // namespace quillon
