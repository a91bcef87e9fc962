// SPDX-License-Identifier: MIT
#include "WrappingLineEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextLayout>

namespace quillon {

namespace {

bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// The text as drawn, one character for each of the text's, so positions stay the same:
// CR LF, CR and LF break the line, other control characters show as spaces. The CR of a CR LF
// becomes a space, which vanishes at the end of a line; a zero-width character would be drawn
// from a fallback font that makes its line taller.
QString shownText(const QString& text) {
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool crBeforeLf = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (crBeforeLf)
            shown[i] = u' ';
        else if (isLineBreak(c))
            shown[i] = QChar::LineSeparator;
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029)
            shown[i] = u' ';
    }
    return shown;
}

} // namespace

WrappingLineEdit::WrappingLineEdit(QWidget* parent) : FieldLineEdit(parent) {
    // QLineEdit repaints only its one line's strip; the whole area may change here.
    connect(this, &QLineEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QLineEdit::selectionChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
}

QRect WrappingLineEdit::textArea() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins()).adjusted(2, 1, -2, -1);
}

void WrappingLineEdit::layOut(QTextLayout& layout) const {
    layout.setText(shownText(text()));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal width = textArea().width();
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

QStringList WrappingLineEdit::lines() const {
    QTextLayout layout;
    layOut(layout);
    QStringList result;
    for (int i = 0; i < layout.lineCount(); ++i)
        result.append(text().mid(layout.lineAt(i).textStart(), layout.lineAt(i).textLength()));
    return result;
}

void WrappingLineEdit::keepCursorInView(const QTextLayout& layout) {
    // Until the user works in it, the editor shows its text from the top, wherever the
    // program left the cursor.
    if (!hasFocus()) {
        m_scroll = 0;
        return;
    }
    const QTextLine line = layout.lineForTextPosition(cursorPosition());
    if (!line.isValid())
        return;
    const int height = textArea().height();
    const int top = qFloor(line.y());
    const int bottom = qCeil(line.y() + line.height());
    if (top < m_scroll)
        m_scroll = top;
    else if (bottom > m_scroll + height)
        m_scroll = bottom - height;
    const int textHeight = qCeil(layout.boundingRect().height());
    m_scroll = std::clamp(m_scroll, 0, std::max(0, textHeight - height));
}

void WrappingLineEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    QTextLayout layout;
    layOut(layout);
    keepCursorInView(layout);

    QList<QTextLayout::FormatRange> selection;
    if (hasSelectedText()) {
        QTextLayout::FormatRange range;
        range.start = selectionStart();
        range.length = selectionLength();
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selection.append(range);
    }
    const QRect area = textArea();
    painter.setClipRect(area);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QPointF origin(area.left(), area.top() - m_scroll);
    layout.draw(&painter, origin, selection);
    if (hasFocus() && !hasSelectedText())
        layout.drawCursor(&painter, origin, cursorPosition(),
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
}

int WrappingLineEdit::positionAt(const QPoint& point) const {
    QTextLayout layout;
    layOut(layout);
    const QRect area = textArea();
    const qreal y = point.y() - area.top() + m_scroll;
    QTextLine line = layout.lineAt(0);
    for (int i = 1; i < layout.lineCount() && layout.lineAt(i).y() <= y; ++i)
        line = layout.lineAt(i);
    return line.isValid() ? line.xToCursor(point.x() - area.left()) : 0;
}

int WrappingLineEdit::positionForKey(int key) const {
    QTextLayout layout;
    layOut(layout);
    const int cursor = cursorPosition();
    const QTextLine line = layout.lineForTextPosition(cursor);
    if (!line.isValid())
        return cursor;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int target = line.lineNumber() + (key == Qt::Key_Up ? -1 : 1);
        if (target < 0)
            return 0;
        if (target >= layout.lineCount())
            return static_cast<int>(text().size());
        return layout.lineAt(target).xToCursor(line.cursorToX(cursor));
    }
    case Qt::Key_Home:
        return line.textStart();
    default: { // Key_End: before the characters that break the line, if it has them
        const QString current = text();
        int end = line.textStart() + line.textLength();
        while (end > line.textStart() && isLineBreak(current[end - 1]))
            --end;
        return end;
    }
    }
}

void WrappingLineEdit::moveCursorTo(int position, bool extendSelection) {
    if (!extendSelection) {
        deselect();
        setCursorPosition(position);
        return;
    }
    int anchor = cursorPosition();
    if (hasSelectedText())
        anchor = cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
    setSelection(anchor, position - anchor);
}

void WrappingLineEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const int key = event->key();
    const bool byLine =
        key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End;
    if (byLine && others == Qt::NoModifier) {
        moveCursorTo(positionForKey(key), event->modifiers().testFlag(Qt::ShiftModifier));
        event->accept();
        return;
    }
    FieldLineEdit::keyPressEvent(event);
}

void WrappingLineEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        FieldLineEdit::mousePressEvent(event);
        return;
    }
    moveCursorTo(positionAt(event->position().toPoint()),
                 event->modifiers().testFlag(Qt::ShiftModifier));
    event->accept();
}

void WrappingLineEdit::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton))
        moveCursorTo(positionAt(event->position().toPoint()), true);
    event->accept();
}

void WrappingLineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Selects the word under the pointer: the run of characters between spaces and breaks.
    const QString shown = shownText(text());
    const auto isWordCharacter = [&](int i) { return !shown[i].isSpace(); };
    int start = positionAt(event->position().toPoint());
    int end = start;
    while (start > 0 && isWordCharacter(start - 1))
        --start;
    while (end < shown.size() && isWordCharacter(end))
        ++end;
    setSelection(start, end - start);
    event->accept();
}

} // namespace quillon
