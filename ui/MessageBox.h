// SPDX-License-Identifier: MIT
// The modal message box the commands show, behind an interface so tests can answer it.
#pragma once

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace quillon {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // A stop-sign box with one OK button; returns when the user dismisses it.
    virtual void critical(QWidget* parent, const QString& title, const QString& text) = 0;
};

class SystemMessageBox : public MessageBox {
public:
    void critical(QWidget* parent, const QString& title, const QString& text) override;
};

std::unique_ptr<QMessageBox> makeCriticalBox(QWidget* parent, const QString& title,
                                             const QString& text);

} // namespace quillon
