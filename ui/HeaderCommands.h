// SPDX-License-Identifier: MIT
// Browse and Save, apart from any widget: they read and write the window through a view and
// talk to the user through an injected file dialog and message box.
#pragma once

#include "FileDialog.h"
#include "HeaderFormView.h"
#include "MessageBox.h"

#include <QCoreApplication>

class QWidget;

namespace quillon {

class HeaderCommands {
    Q_DECLARE_TR_FUNCTIONS(HeaderCommands)

public:
    HeaderCommands(HeaderFormView& view, FileDialog& dialog, MessageBox& messages,
                   QWidget* dialogParent = nullptr);

    void browse();
    // What Browse does once the user has chosen a file; a file named at start or dropped on
    // the window comes in here too.
    void open(const QString& path);
    void save();

    static OpenFileRequest romRequest();

private:
    HeaderFormView& m_view;
    FileDialog& m_dialog;
    MessageBox& m_messages;
    QWidget* m_dialogParent;
    QString m_lastChosenPath; // each Browse starts on the file chosen the time before
};

} // namespace quillon
