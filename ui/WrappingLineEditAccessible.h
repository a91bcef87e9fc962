// SPDX-License-Identifier: MIT
// What assistive technology sees of a WrappingLineEdit: its text, cursor and selection, and
// where each character is on screen. Qt's own description of a line editor would place every
// character on one line.
#pragma once

#include <QAccessibleWidget>

namespace quillon {

class WrappingLineEdit;

class WrappingLineEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit WrappingLineEditAccessible(WrappingLineEdit* editor);

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

private:
    WrappingLineEdit* editor() const;
};

// Makes Qt describe every WrappingLineEdit with the class above; once is enough.
void installWrappingLineEditAccessibility();

} // namespace quillon
