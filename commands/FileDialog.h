// SPDX-License-Identifier: MIT
// The file-open dialog the Browse command asks, behind an interface so each window brings its
// own and tests answer it themselves.
#pragma once

#include <optional>
#include <string>

namespace quillon {

// Texts in UTF-8; paths as the header core takes them.
struct OpenFileRequest {
    std::string title;
    std::string filterDescription; // shown to the user as it stands
    std::string filterPatterns;    // semicolon-separated, e.g. "*.BIN;*.GEN"
    std::string startPath;         // the file chosen last, or empty
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The full path of the chosen file, or nothing when the user cancelled.
    virtual std::optional<std::string> getOpenFileName(const OpenFileRequest& request) = 0;
};

} // namespace quillon
