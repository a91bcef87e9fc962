// SPDX-License-Identifier: MIT
// What assistive technology sees of a header editor: its text, cursor and selection, where
// each character is on screen (Qt's own description of a line editor would place the
// multi-line editor's characters on one line), and edits that keep to the editor's limit
// (Qt's own would set any text it is given).
#pragma once

#include <QAccessibleWidget>

namespace quillon {

class FieldLineEdit;

class FieldLineEditAccessible : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    explicit FieldLineEditAccessible(FieldLineEdit* editor);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;

    void selection(int index, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int index) override;
    void setSelection(int index, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    FieldLineEdit* editor() const;
};

// Makes Qt describe every FieldLineEdit with the class above; once is enough.
void installFieldLineEditAccessibility();

} // namespace quillon
