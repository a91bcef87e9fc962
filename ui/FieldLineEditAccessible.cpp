// SPDX-License-Identifier: MIT
#include "FieldLineEditAccessible.h"

#include "FieldLineEdit.h"

namespace quillon {

FieldLineEditAccessible::FieldLineEditAccessible(FieldLineEdit* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

FieldLineEdit* FieldLineEditAccessible::editor() const {
    return static_cast<FieldLineEdit*>(widget());
}

void* FieldLineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString FieldLineEditAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return editor()->text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State FieldLineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !editor()->isReadOnly();
    state.readOnly = editor()->isReadOnly();
    state.multiLine = editor()->isMultiLine();
    state.selectableText = true;
    return state;
}

void FieldLineEditAccessible::selection(int index, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (index == 0 && editor()->hasSelectedText()) {
        *startOffset = editor()->selectionStart();
        *endOffset = editor()->selectionEnd();
    }
}

int FieldLineEditAccessible::selectionCount() const { return editor()->hasSelectedText() ? 1 : 0; }

void FieldLineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void FieldLineEditAccessible::removeSelection(int index) {
    if (index == 0)
        editor()->deselect();
}

void FieldLineEditAccessible::setSelection(int index, int startOffset, int endOffset) {
    if (index == 0)
        editor()->setSelection(startOffset, endOffset - startOffset);
}

int FieldLineEditAccessible::cursorPosition() const { return editor()->cursorPosition(); }

void FieldLineEditAccessible::setCursorPosition(int position) {
    editor()->setCursorPosition(position);
}

QString FieldLineEditAccessible::text(int startOffset, int endOffset) const {
    return editor()->text().mid(startOffset, endOffset - startOffset);
}

int FieldLineEditAccessible::characterCount() const {
    return static_cast<int>(editor()->text().size());
}

QRect FieldLineEditAccessible::characterRect(int offset) const {
    const QRect local = editor()->characterRectangle(offset);
    return {editor()->mapToGlobal(local.topLeft()), local.size()};
}

int FieldLineEditAccessible::offsetAtPoint(const QPoint& point) const {
    return editor()->textPositionAt(editor()->mapFromGlobal(point));
}

void FieldLineEditAccessible::scrollToSubstring(int, int) {}

QString FieldLineEditAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void FieldLineEditAccessible::deleteText(int startOffset, int endOffset) {
    if (editor()->isReadOnly())
        return;
    editor()->setSelection(startOffset, endOffset - startOffset);
    editor()->del();
}

void FieldLineEditAccessible::insertText(int offset, const QString& text) {
    editor()->setCursorPosition(offset);
    editor()->insertWithinLimit(text);
}

void FieldLineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    editor()->setSelection(startOffset, endOffset - startOffset);
    editor()->insertWithinLimit(text);
}

void installFieldLineEditAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* editor = qobject_cast<FieldLineEdit*>(object);
            return editor ? new FieldLineEditAccessible(editor) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace quillon
