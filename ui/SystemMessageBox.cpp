// SPDX-License-Identifier: MIT
#include "SystemMessageBox.h"

#include "TextConversion.h"

#include <QMessageBox>

namespace quillon {

std::unique_ptr<QMessageBox> makeCriticalBox(QWidget* parent, const QString& title,
                                             const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText); // a path may hold anything, markup included
    return box;
}

void SystemMessageBox::critical(const std::string& title, const std::string& text) {
    makeCriticalBox(m_parent, translatedText(title), translatedText(text))->exec();
}

} // namespace quillon
