// SPDX-License-Identifier: MIT
// Stand-ins for the file dialog and the message box, so no test waits on a person.
#pragma once

#include "FileDialog.h"
#include "MessageBox.h"

#include <QList>
#include <QQueue>

namespace quillon::test {

class FakeFileDialog : public FileDialog {
public:
    // Each Browse takes the next answer; nothing means the user cancelled.
    QQueue<std::optional<QString>> answers;
    QList<OpenFileRequest> requests;

    std::optional<QString> getOpenFileName(QWidget*, const OpenFileRequest& request) override {
        requests.append(request);
        return answers.isEmpty() ? std::nullopt : answers.dequeue();
    }
};

class FakeMessageBox : public MessageBox {
public:
    struct Shown {
        QString title;
        QString text;
    };
    QList<Shown> shown;

    void critical(QWidget*, const QString& title, const QString& text) override {
        shown.append({title, text});
    }
};

} // namespace quillon::test
