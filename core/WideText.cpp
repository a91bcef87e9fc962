// SPDX-License-Identifier: MIT
#include "WideText.h"

#include <climits>
#include <windows.h>

namespace quillon {

namespace {

int checkedLength(std::size_t size) { return size > INT_MAX ? 0 : static_cast<int>(size); }

} // namespace

std::wstring toUtf16(std::string_view utf8) {
    const int length = checkedLength(utf8.size());
    if (length == 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(
                          ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

std::string toUtf8(std::wstring_view utf16) {
    const int length = checkedLength(utf16.size());
    if (length == 0)
        return {};
    std::string narrow(static_cast<std::size_t>(::WideCharToMultiByte(
                           CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr)),
                       '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr);
    return narrow;
}

} // namespace quillon
