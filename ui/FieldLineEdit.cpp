// SPDX-License-Identifier: MIT
#include "FieldLineEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <limits>

namespace quillon {

FieldLineEdit::FieldLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Dropped text would bypass the limit; the editors take text by typing and pasting only.
    setAcceptDrops(false);
}

qsizetype FieldLineEdit::room() const {
    if (m_inputLimit <= 0)
        return std::numeric_limits<int>::max();
    return m_inputLimit - (text().size() - selectedText().size());
}

void FieldLineEdit::insertWithinLimit(const QString& text) {
    const qsizetype fits = std::min(room(), text.size());
    if (fits > 0)
        insert(text.left(fits));
}

void FieldLineEdit::pasteWithinLimit() {
    if (!isReadOnly())
        insertWithinLimit(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

void FieldLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteWithinLimit();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && typed.size() > room()) {
        event->accept(); // refused: the text is at its limit
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const qsizetype fits = std::max<qsizetype>(room(), 0);
    if (event->commitString().size() <= fits) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(event->commitString().left(fits), event->replacementStart(),
                        event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
}

void FieldLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, &FieldLineEdit::pasteWithinLimit);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FieldLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the X11 selection; it goes through the limit like any paste.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        insertWithinLimit(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace quillon
