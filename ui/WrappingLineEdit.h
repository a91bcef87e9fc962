// SPDX-License-Identifier: MIT
// A multi-line editor with a line editor's exact text. QPlainTextEdit would turn "\r", "\r\n",
// U+00A0, U+2028 and U+2029 into other characters; this keeps QLineEdit's text, undo and
// clipboard, and lays the text out over several lines, wrapping at spaces where it can and
// inside words where it must, with no scroll bars. CR LF, CR and LF each break the line, and
// the cursor treats a CR LF as the one break it is: it never stops between the two, and
// Backspace and Delete take both.
#pragma once

#include "FieldLineEdit.h"

#include <QTextLayout>

namespace quillon {

class WrappingLineEdit : public FieldLineEdit {
    Q_OBJECT

public:
    explicit WrappingLineEdit(QWidget* parent = nullptr);

    // The text broken into the lines it takes at the editor's width.
    QStringList lines() const;
    // Where the cursor is drawn, in the widget's coordinates.
    QRect cursorRectangle() const;
    QRect characterRectangle(int position) const override;
    bool isMultiLine() const override { return true; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    int textPositionAt(const QPoint& point) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // A cursor place: a position at a soft wrap is the end of one row and the start of the
    // next, so the place also says which of the two it is shown on.
    struct Place {
        int position = 0;
        bool rowEnd = false;
    };

    QRect textArea() const;
    void layOut(QTextLayout& layout, bool withPreedit = false) const;
    bool atSoftWrap(int position) const;
    QTextLine rowOf(const QTextLayout& layout, int position, bool rowEnd) const;
    QRect positionRectangle(const QTextLayout& layout, int position, bool rowEnd) const;
    Place placeOnRow(const QTextLayout& layout, const QTextLine& row, qreal x) const;
    Place placeAt(const QPoint& point) const;
    Place placeForKey(int key) const;
    void moveCursorTo(Place place, bool extendSelection);
    bool removeLineBreak(const QKeyEvent& event);
    void keepCursorInView(const QTextLayout& layout);

    int m_scroll = 0; // pixels of text above the top edge, so the cursor's line stays in view
    bool m_rowEnd = false;
    qsizetype m_lengthAtCursorMove = 0;
    // What an input method is composing, shown at the cursor until it is committed.
    QString m_preedit;
    int m_preeditCursor = 0;
    bool m_preeditCursorShown = true;
    QList<QTextLayout::FormatRange> m_preeditFormats;
};

} // namespace quillon
