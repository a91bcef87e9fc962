// SPDX-License-Identifier: MIT
#include "FieldLineEdit.h"

#include "FieldLineEditAccessible.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextLayout>

namespace quillon {

namespace {

bool startsSurrogatePair(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

// Each code point becomes one byte of the header; a lone surrogate becomes a "?".
qsizetype codePointCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += startsSurrogatePair(text, i) ? 2 : 1)
        ++count;
    return count;
}

// Whether a key may type its text. This is the line editor's own test, but wider: it lets
// through whatever the text starts with unless it is a control character, so that no key
// that types can pass the limit, while Ctrl and Ctrl+Shift shortcuts still reach the editor.
bool mayType(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty() || text.front().category() == QChar::Other_Control)
        return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool shortcut =
        modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    return !shortcut || text.front().category() == QChar::Other_Format;
}

// Qt gives the actions of its context menu no names; Paste is the one captioned and labelled
// with the paste shortcut as the line editor's own menu does it.
bool isPasteAction(const QAction& action) {
    const QString caption = action.text().section(u'\t', 0, 0);
    const QString shortcut = action.text().section(u'\t', 1);
    return caption == QLineEdit::tr("&Paste") ||
           (!shortcut.isEmpty() &&
            shortcut == QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText));
}

} // namespace

FieldLineEdit::FieldLineEdit(QWidget* parent) : QLineEdit(parent) {
    installFieldLineEditAccessibility();
    // Dropped text would bypass the limit; the editors take text by typing and pasting only.
    setAcceptDrops(false);
}

QString FieldLineEdit::fitted(QStringView insertion, QStringView kept) const {
    if (m_inputLimit <= 0)
        return insertion.toString();
    qsizetype room = m_inputLimit - codePointCount(kept);
    qsizetype end = 0;
    for (; end < insertion.size() && room > 0; --room)
        end += startsSurrogatePair(insertion, end) ? 2 : 1;
    return insertion.left(end).toString();
}

QString FieldLineEdit::textOutsideSelection() const {
    return hasSelectedText() ? text().remove(selectionStart(), selectionLength()) : text();
}

bool FieldLineEdit::insertWithinLimit(const QString& text) {
    const QString fits = fitted(text, textOutsideSelection());
    if (isReadOnly() || fits.isEmpty())
        return false;
    // One undo step of its own, as the line editor makes of its paste.
    endUndoStep();
    insert(fits);
    endUndoStep();
    return true;
}

void FieldLineEdit::endUndoStep() {
    // The line editor ends an undo step whenever its cursor moves; a selection being replaced
    // ends one anyway.
    const int cursor = cursorPosition();
    if (hasSelectedText() || text().isEmpty())
        return;
    setCursorPosition(cursor > 0 ? cursor - 1 : cursor + 1);
    setCursorPosition(cursor);
}

void FieldLineEdit::pasteWithinLimit(QClipboard::Mode mode) {
    insertWithinLimit(QGuiApplication::clipboard()->text(mode));
}

int FieldLineEdit::textPositionAt(const QPoint& point) const {
    return const_cast<FieldLineEdit*>(this)->cursorPositionAt(point); // only reads
}

QRect FieldLineEdit::characterRectangle(int position) const {
    // The line editor tells only where its cursor is; another character lies as far from it
    // as the text laid out in one line puts it, control characters shown as spaces.
    QString shown = text();
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control && c != u'\t')
            c = u' ';
    }
    QTextLayout layout(shown, font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QRect cursor = cursorRect();
    const auto x = [&](int at) { return qRound(line.cursorToX(at)); };
    const int width =
        position < shown.size() ? x(position + 1) - x(position) : fontMetrics().averageCharWidth();
    return {cursor.center().x() + x(position) - x(cursorPosition()), cursor.top(),
            std::max(width, 1), cursor.height()};
}

void FieldLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteWithinLimit();
        event->accept();
        return;
    }
    if (mayType(*event)) {
        const QString typed = event->text();
        if (fitted(typed, textOutsideSelection()).size() < typed.size()) {
            insertWithinLimit(typed); // what fits of a key that types several characters
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FieldLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    // A commit first removes the selection, then the span it replaces around the cursor;
    // what is left is what the committed text must fit beside.
    QString kept = textOutsideSelection();
    const qsizetype cursor = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype replaced =
        std::clamp<qsizetype>(cursor + event->replacementStart(), 0, kept.size());
    kept.remove(replaced, event->replacementLength());
    const QString fits = fitted(commit, kept);
    if (fits.size() == commit.size()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
    event->setAccepted(cut.isAccepted());
}

void FieldLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (isPasteAction(*action)) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, [this] { pasteWithinLimit(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool FieldLineEdit::middleButtonPastes() const {
    return !isReadOnly() && QGuiApplication::clipboard()->supportsSelection();
}

void FieldLineEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && middleButtonPastes()) {
        event->accept(); // the paste happens where the button is released
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void FieldLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the X11 selection where it is clicked, like any paste.
    if (event->button() == Qt::MiddleButton && middleButtonPastes()) {
        deselect();
        setCursorPosition(textPositionAt(event->position().toPoint()));
        pasteWithinLimit(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace quillon
