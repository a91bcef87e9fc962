// SPDX-License-Identifier: MIT
#include "WrappingLineEditAccessible.h"

#include "WrappingLineEdit.h"

namespace quillon {

WrappingLineEditAccessible::WrappingLineEditAccessible(WrappingLineEdit* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

WrappingLineEdit* WrappingLineEditAccessible::editor() const {
    return static_cast<WrappingLineEdit*>(widget());
}

void* WrappingLineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString WrappingLineEditAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return editor()->text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State WrappingLineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !editor()->isReadOnly();
    state.readOnly = editor()->isReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void WrappingLineEditAccessible::selection(int index, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (index == 0 && editor()->hasSelectedText()) {
        *startOffset = editor()->selectionStart();
        *endOffset = editor()->selectionEnd();
    }
}

int WrappingLineEditAccessible::selectionCount() const {
    return editor()->hasSelectedText() ? 1 : 0;
}

void WrappingLineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void WrappingLineEditAccessible::removeSelection(int index) {
    if (index == 0)
        editor()->deselect();
}

void WrappingLineEditAccessible::setSelection(int index, int startOffset, int endOffset) {
    if (index == 0)
        editor()->setSelection(startOffset, endOffset - startOffset);
}

int WrappingLineEditAccessible::cursorPosition() const { return editor()->cursorPosition(); }

void WrappingLineEditAccessible::setCursorPosition(int position) {
    editor()->setCursorPosition(position);
}

QString WrappingLineEditAccessible::text(int startOffset, int endOffset) const {
    return editor()->text().mid(startOffset, endOffset - startOffset);
}

int WrappingLineEditAccessible::characterCount() const {
    return static_cast<int>(editor()->text().size());
}

QRect WrappingLineEditAccessible::characterRect(int offset) const {
    const QRect local = editor()->characterRectangle(offset);
    return QRect(editor()->mapToGlobal(local.topLeft()), local.size());
}

int WrappingLineEditAccessible::offsetAtPoint(const QPoint& point) const {
    return editor()->textPositionAt(editor()->mapFromGlobal(point));
}

void WrappingLineEditAccessible::scrollToSubstring(int, int) {}

QString WrappingLineEditAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void installWrappingLineEditAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(
            [](const QString& className, QObject* object) -> QAccessibleInterface* {
                auto* editor = qobject_cast<WrappingLineEdit*>(object);
                if (editor &&
                    className == QLatin1String(WrappingLineEdit::staticMetaObject.className()))
                    return new WrappingLineEditAccessible(editor);
                return nullptr;
            });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace quillon
