// SPDX-License-Identifier: MIT
// The commands' message box on Windows.
#pragma once

#include "ErrorMessageBox.h"

#include <windows.h>

namespace quillon::win32 {

class Win32MessageBox : public ErrorMessageBox {
public:
    void setOwner(HWND owner) { m_owner = owner; }
    void critical(const std::string& title, const std::string& text) override;

private:
    HWND m_owner = nullptr;
};

} // namespace quillon::win32
