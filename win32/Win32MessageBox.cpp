// SPDX-License-Identifier: MIT
#include "Win32MessageBox.h"

#include "WideText.h"

namespace quillon::win32 {

void Win32MessageBox::critical(const std::string& title, const std::string& text) {
    ::MessageBoxW(m_owner, toUtf16(text).c_str(), toUtf16(title).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace quillon::win32
