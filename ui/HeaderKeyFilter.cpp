// SPDX-License-Identifier: MIT
#include "HeaderKeyFilter.h"

#include "EditorRules.h"

#include <QKeyEvent>
#include <QWidget>

namespace quillon {

void HeaderKeyFilter::watch(QWidget* editor, std::size_t index) {
    m_indexes.insert(editor, index);
    editor->installEventFilter(this);
}

bool HeaderKeyFilter::swallows(std::size_t index, const QKeyEvent& event) {
    // Enter, keypad Enter and Ctrl+M type a carriage return, whatever text the platform gives
    // them; other keys type their text.
    const int key = event.key();
    const bool ctrlM = key == Qt::Key_M && event.modifiers().testFlag(Qt::ControlModifier);
    if (key == Qt::Key_Return || key == Qt::Key_Enter || ctrlM)
        return !headerEditorTakes(index, U'\r');
    for (const char32_t typed : event.text().toUcs4()) {
        if (!headerEditorTakes(index, typed))
            return true;
    }
    return false;
}

bool HeaderKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto found = m_indexes.constFind(watched);
    return found != m_indexes.constEnd() && swallows(*found, static_cast<QKeyEvent&>(*event));
}

} // namespace quillon
