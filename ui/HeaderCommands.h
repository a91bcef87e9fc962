// SPDX-License-Identifier: MIT
// Browse and Save, apart from any widget: they read and write the window through a view and
// talk to the user through an injected file dialog and message box.
#pragma once

#include "FileDialog.h"
#include "HeaderFormView.h"
#include "MessageBox.h"

class QWidget;

namespace quillon {

class HeaderCommands {
public:
    HeaderCommands(HeaderFormView& view, FileDialog& dialog, MessageBox& messages,
                   QWidget* dialogParent = nullptr);

    void browse();
    void save();

    static const OpenFileRequest& romRequest();

private:
    HeaderFormView& m_view;
    FileDialog& m_dialog;
    MessageBox& m_messages;
    QWidget* m_dialogParent;
    QString m_lastChosenPath; // each Browse starts on the file chosen the time before
};

} // namespace quillon
