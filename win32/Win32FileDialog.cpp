// SPDX-License-Identifier: MIT
#include "Win32FileDialog.h"

#include "WideText.h"

#include <commdlg.h>
#include <vector>

namespace quillon::win32 {

std::optional<std::string> Win32FileDialog::getOpenFileName(const OpenFileRequest& request) {
    // One entry: its description, its patterns, then the empty entry that ends the list.
    std::wstring filter = toUtf16(request.filterDescription);
    filter.push_back(L'\0');
    filter += toUtf16(request.filterPatterns);
    filter.push_back(L'\0');
    const std::wstring title = toUtf16(request.title);

    // Room for the longest path Windows knows; it starts on the file chosen last.
    std::vector<wchar_t> path(32768, L'\0');
    const std::wstring start = toUtf16(request.startPath);
    if (start.size() < path.size())
        std::copy(start.begin(), start.end(), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog))
        return std::nullopt; // cancelled, or the dialog failed: either way nothing was chosen
    return toUtf8(path.data());
}

} // namespace quillon::win32
