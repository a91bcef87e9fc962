// SPDX-License-Identifier: MIT
// The commands' file-open dialog on Qt.
#pragma once

#include "FileDialog.h"

class QFileDialog;
class QWidget;

namespace quillon {

class SystemFileDialog : public FileDialog {
public:
    explicit SystemFileDialog(QWidget* parent) : m_parent(parent) {}
    std::optional<std::string> getOpenFileName(const OpenFileRequest& request) override;

private:
    QWidget* m_parent;
};

// Sets a dialog up for a request; kept apart so its filter can be tried without a person.
void configureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request);

} // namespace quillon
