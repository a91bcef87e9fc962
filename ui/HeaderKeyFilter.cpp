// SPDX-License-Identifier: MIT
#include "HeaderKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace quillon {

void HeaderKeyFilter::watch(QWidget* editor, std::size_t index) {
    m_indexes.insert(editor, index);
    editor->installEventFilter(this);
}

bool HeaderKeyFilter::swallows([[maybe_unused]] std::size_t index, const QKeyEvent& event) {
    const int key = event.key();
    const bool ctrlM = key == Qt::Key_M && event.modifiers().testFlag(Qt::ControlModifier);
    return key == Qt::Key_Return || key == Qt::Key_Enter || ctrlM || event.text().contains(u'\r');
}

bool HeaderKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto found = m_indexes.constFind(watched);
    return found != m_indexes.constEnd() && swallows(*found, static_cast<QKeyEvent&>(*event));
}

} // namespace quillon
