// SPDX-License-Identifier: MIT
// A multi-line editor with a line editor's exact text. QPlainTextEdit would turn "\r", "\r\n",
// U+00A0, U+2028 and U+2029 into other characters; this keeps QLineEdit's text, cursor, undo
// and clipboard, and only lays the text out over several lines, wrapping at spaces where it
// can and inside words where it must, with no scroll bars.
#pragma once

#include "FieldLineEdit.h"

class QTextLayout;

namespace quillon {

class WrappingLineEdit : public FieldLineEdit {
    Q_OBJECT

public:
    explicit WrappingLineEdit(QWidget* parent = nullptr);

    // The text broken into the lines it takes at the editor's width.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect textArea() const;
    void layOut(QTextLayout& layout) const;
    void keepCursorInView(const QTextLayout& layout);
    int positionAt(const QPoint& point) const;
    int positionForKey(int key) const;
    void moveCursorTo(int position, bool extendSelection);

    int m_scroll = 0; // pixels of text above the top edge, so the cursor's line stays in view
};

} // namespace quillon
