// SPDX-License-Identifier: MIT
// Browse and Save, apart from any widget: they read and write the window through a view and
// talk to the user through an injected file dialog and message box.
#pragma once

#include "ErrorMessageBox.h"
#include "FileDialog.h"
#include "HeaderView.h"

#include <string>

namespace quillon {

class HeaderCommands {
public:
    HeaderCommands(HeaderView& view, FileDialog& dialog, ErrorMessageBox& messages);

    void browse();
    // What Browse does once the user has chosen a file; a file named at start or dropped on
    // the window comes in here too.
    void open(const std::string& path);
    void save();

    static const OpenFileRequest& romRequest();

private:
    HeaderView& m_view;
    FileDialog& m_dialog;
    ErrorMessageBox& m_messages;
    std::string m_lastChosenPath; // each Browse starts on the file chosen the time before
};

} // namespace quillon
