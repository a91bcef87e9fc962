// SPDX-License-Identifier: MIT
// The commands' message box on Qt.
#pragma once

#include "ErrorMessageBox.h"

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace quillon {

class SystemMessageBox : public ErrorMessageBox {
public:
    explicit SystemMessageBox(QWidget* parent) : m_parent(parent) {}
    void critical(const std::string& title, const std::string& text) override;

private:
    QWidget* m_parent;
};

std::unique_ptr<QMessageBox> makeCriticalBox(QWidget* parent, const QString& title,
                                             const QString& text);

} // namespace quillon
