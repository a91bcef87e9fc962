// SPDX-License-Identifier: MIT
// The commands' file-open dialog on Windows: the common dialog, paths in UTF-8.
#pragma once

#include "FileDialog.h"

#include <windows.h>

namespace quillon::win32 {

class Win32FileDialog : public FileDialog {
public:
    void setOwner(HWND owner) { m_owner = owner; }
    std::optional<std::string> getOpenFileName(const OpenFileRequest& request) override;

private:
    HWND m_owner = nullptr;
};

} // namespace quillon::win32
