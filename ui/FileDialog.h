// SPDX-License-Identifier: MIT
// The file-open dialog the Browse command asks, behind an interface so tests can answer it.
#pragma once

#include <QString>
#include <optional>

class QFileDialog;
class QWidget;

namespace quillon {

struct OpenFileRequest {
    QString title;
    QString filterDescription; // shown to the user as it stands
    QString filterPatterns;    // semicolon-separated, e.g. "*.BIN;*.GEN"
    QString startPath;         // the file chosen last, or empty
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The full path of the chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> getOpenFileName(QWidget* parent,
                                                   const OpenFileRequest& request) = 0;
};

class SystemFileDialog : public FileDialog {
public:
    std::optional<QString> getOpenFileName(QWidget* parent,
                                           const OpenFileRequest& request) override;
};

// Sets a dialog up for a request; kept apart so its filter can be tried without a person.
void configureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request);

} // namespace quillon
