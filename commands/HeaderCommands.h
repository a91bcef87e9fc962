// SPDX-License-Identifier: MIT
// Browse and Save, apart from any widget: they read and write the window through a view and
// talk to the user through an injected file dialog and message box.
#pragma once

#include "ErrorMessageBox.h"
#include "FileDialog.h"
#include "HeaderFile.h"
#include "HeaderView.h"

#include <optional>
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
    // The header the editors show as it lay on disk: a save goes ahead only while it still lies
    // so, since it writes every editor, and would put back what someone else changed.
    std::optional<ExpectedHeader> m_loaded;
};

} // namespace quillon
