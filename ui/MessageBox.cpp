// SPDX-License-Identifier: MIT
#include "MessageBox.h"

#include <QMessageBox>

namespace quillon {

std::unique_ptr<QMessageBox> makeCriticalBox(QWidget* parent, const QString& title,
                                             const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText); // a path may hold anything, markup included
    return box;
}

void SystemMessageBox::critical(QWidget* parent, const QString& title, const QString& text) {
    makeCriticalBox(parent, title, text)->exec();
}

} // namespace quillon
