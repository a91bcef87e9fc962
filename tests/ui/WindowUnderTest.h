// SPDX-License-Identifier: MIT
// The real main window with its dialog and message boxes answered by the test.
#pragma once

#include "Fakes.h"
#include "FieldLineEdit.h"
#include "frmMain.h"

#include <memory>

namespace quillon::test {

class WindowUnderTest {
public:
    FakeFileDialog dialog;
    FakeMessageBox messages;
    std::unique_ptr<frmMain> window;

    void open() {
        dialog = {};
        messages = {};
        window = std::make_unique<frmMain>(&dialog, &messages);
        window->show();
    }
    void close() { window.reset(); }

    template <typename T = QWidget> T* find(const QString& name) const {
        auto* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    FieldLineEdit* headerEditor(std::size_t index) const {
        return find<FieldLineEdit>(QStringLiteral("txtHeaderInfo_%1").arg(index));
    }
};

} // namespace quillon::test
