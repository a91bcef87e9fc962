// SPDX-License-Identifier: MIT
#include "WrappingLineEdit.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>

namespace quillon {

namespace {

bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Between the CR and the LF of a pair, where no cursor may stand.
bool insidePair(const QString& text, qsizetype position) {
    return position > 0 && position < text.size() && text[position - 1] == u'\r' &&
           text[position] == u'\n';
}

// The text as drawn, one character for each of the text's, so positions stay the same:
// CR LF, CR and LF break the line, other control characters show as spaces. The CR of a CR LF
// becomes a space, which vanishes at the end of a line; a zero-width character would be drawn
// from a fallback font that makes its line taller.
QString shownText(const QString& text) {
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (insidePair(text, i + 1))
            shown[i] = u' ';
        else if (isLineBreak(c))
            shown[i] = QChar::LineSeparator;
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029)
            shown[i] = u' ';
    }
    return shown;
}

int rowEndPosition(const QTextLine& row) { return row.textStart() + row.textLength(); }

} // namespace

WrappingLineEdit::WrappingLineEdit(QWidget* parent) : FieldLineEdit(parent) {
    // QLineEdit repaints only its one line's strip; the whole area may change here.
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int position) {
        // Text just put in stays on its row: the cursor after it, at a wrap, is shown at the
        // end of that row rather than at the start of the next.
        const bool grew = text().size() > m_lengthAtCursorMove;
        m_lengthAtCursorMove = text().size();
        m_rowEnd = grew && atSoftWrap(position);
        update();
    });
    connect(this, &QLineEdit::selectionChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
}

QRect WrappingLineEdit::textArea() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins()).adjusted(2, 1, -2, -1);
}

void WrappingLineEdit::layOut(QTextLayout& layout, bool withPreedit) const {
    layout.setText(shownText(text()));
    layout.setFont(font());
    if (withPreedit && !m_preedit.isEmpty()) {
        layout.setPreeditArea(cursorPosition(), m_preedit);
        QList<QTextLayout::FormatRange> formats = m_preeditFormats;
        for (QTextLayout::FormatRange& range : formats)
            range.start += cursorPosition();
        layout.setFormats(formats);
    }
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

QTextLine WrappingLineEdit::rowOf(const QTextLayout& layout, int position, bool rowEnd) const {
    const QTextLine line = layout.lineForTextPosition(position);
    if (rowEnd && line.isValid() && line.lineNumber() > 0 && line.textStart() == position)
        return layout.lineAt(line.lineNumber() - 1);
    return line;
}

bool WrappingLineEdit::atSoftWrap(int position) const {
    QTextLayout layout;
    layOut(layout);
    const QTextLine row = layout.lineForTextPosition(position);
    return row.isValid() && row.lineNumber() > 0 && row.textStart() == position &&
           !isLineBreak(text()[position - 1]);
}

QRect WrappingLineEdit::positionRectangle(const QTextLayout& layout, int position,
                                          bool rowEnd) const {
    const QTextLine row = rowOf(layout, position, rowEnd);
    if (!row.isValid())
        return {};
    const QRect area = textArea();
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    // A space that ends a wrapped row hangs past the edge; the cursor after it stays inside.
    const int x = std::min(qRound(row.cursorToX(position)), area.width() - width);
    return {area.left() + x, area.top() + qFloor(row.y()) - m_scroll, width, qCeil(row.height())};
}

QRect WrappingLineEdit::cursorRectangle() const {
    QTextLayout layout;
    layOut(layout, true);
    const int preedit = m_preedit.isEmpty() ? 0 : m_preeditCursor;
    return positionRectangle(layout, cursorPosition() + preedit, m_rowEnd && preedit == 0);
}

QRect WrappingLineEdit::characterRectangle(int position) const {
    QTextLayout layout;
    layOut(layout);
    const bool rowEnd = m_rowEnd && position == cursorPosition();
    QRect rectangle = positionRectangle(layout, position, rowEnd);
    const QTextLine row = rowOf(layout, position, rowEnd);
    if (row.isValid() && position < rowEndPosition(row))
        rectangle.setRight(textArea().left() + qRound(row.cursorToX(position + 1)) - 1);
    else
        rectangle.setWidth(fontMetrics().averageCharWidth());
    return rectangle;
}

QVariant WrappingLineEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImCursorRectangle:
        return cursorRectangle();
    case Qt::ImAnchorRectangle: {
        if (!hasSelectedText())
            return cursorRectangle();
        QTextLayout layout;
        layOut(layout);
        const int anchor = cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
        return positionRectangle(layout, anchor, false);
    }
    default:
        return FieldLineEdit::inputMethodQuery(query);
    }
}

void WrappingLineEdit::keepCursorInView(const QTextLayout& layout) {
    // Until the user works in it, the editor shows its text from the top, wherever the
    // program left the cursor. It scrolls by whole rows, so no row shows cut in half.
    const int old = m_scroll;
    const int height = textArea().height();
    const QTextLine cursorRow = rowOf(layout, cursorPosition(), m_rowEnd);
    // The top of the first row from which everything down to `bottom` fits.
    const auto topShowing = [&](qreal bottom) {
        for (int i = 0; i < layout.lineCount(); ++i) {
            if (bottom - layout.lineAt(i).y() <= height)
                return qFloor(layout.lineAt(i).y());
        }
        return 0;
    };
    if (!hasFocus() || !cursorRow.isValid()) {
        m_scroll = 0;
    } else {
        if (cursorRow.y() < m_scroll)
            m_scroll = qFloor(cursorRow.y());
        else if (cursorRow.y() + cursorRow.height() > m_scroll + height)
            m_scroll = topShowing(cursorRow.y() + cursorRow.height());
        m_scroll = std::min(m_scroll, topShowing(layout.boundingRect().height()));
    }
    if (m_scroll != old)
        updateMicroFocus(); // the cursor moved on screen
}

void WrappingLineEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    QTextLayout layout;
    layOut(layout, true);
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
    const QColor textColour =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    painter.setPen(textColour);
    layout.draw(&painter, QPointF(area.left(), area.top() - m_scroll), selection);
    if (hasFocus() && !hasSelectedText() && (m_preedit.isEmpty() || m_preeditCursorShown))
        painter.fillRect(cursorRectangle(), textColour);
}

WrappingLineEdit::Place WrappingLineEdit::placeOnRow(const QTextLayout& layout,
                                                     const QTextLine& row, qreal x) const {
    const QString current = text();
    int position = row.xToCursor(x);
    if (insidePair(current, position))
        --position; // right of a row's text is before its line break
    // Past the text of a row that wraps without a break is the end of that row.
    const bool wrapped = row.lineNumber() + 1 < layout.lineCount() && position > 0 &&
                         !isLineBreak(current[position - 1]);
    return {position, wrapped && position == rowEndPosition(row)};
}

WrappingLineEdit::Place WrappingLineEdit::placeAt(const QPoint& point) const {
    QTextLayout layout;
    layOut(layout);
    const QRect area = textArea();
    const qreal y = point.y() - area.top() + m_scroll;
    QTextLine row = layout.lineAt(0);
    for (int i = 1; i < layout.lineCount() && layout.lineAt(i).y() <= y; ++i)
        row = layout.lineAt(i);
    return row.isValid() ? placeOnRow(layout, row, point.x() - area.left()) : Place{};
}

int WrappingLineEdit::textPositionAt(const QPoint& point) const { return placeAt(point).position; }

WrappingLineEdit::Place WrappingLineEdit::placeForKey(int key) const {
    QTextLayout layout;
    layOut(layout);
    const int cursor = cursorPosition();
    const QTextLine row = rowOf(layout, cursor, m_rowEnd);
    if (!row.isValid())
        return {cursor, false};
    const QString current = text();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int target = row.lineNumber() + (key == Qt::Key_Up ? -1 : 1);
        if (target < 0)
            return {0, false};
        if (target >= layout.lineCount())
            return {static_cast<int>(current.size()), false};
        return placeOnRow(layout, layout.lineAt(target), row.cursorToX(cursor));
    }
    case Qt::Key_Home:
        return {row.textStart(), false};
    default: { // Key_End: before the row's line break, or at the end of a row that wraps
        int end = rowEndPosition(row);
        const bool broken = end > row.textStart() && isLineBreak(current[end - 1]);
        if (broken)
            end -= insidePair(current, end - 1) ? 2 : 1;
        return {end, !broken && row.lineNumber() + 1 < layout.lineCount()};
    }
    }
}

void WrappingLineEdit::moveCursorTo(Place place, bool extendSelection) {
    if (!extendSelection) {
        deselect();
        setCursorPosition(place.position);
    } else {
        int anchor = cursorPosition();
        if (hasSelectedText())
            anchor = cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
        setSelection(anchor, place.position - anchor);
    }
    m_rowEnd = place.rowEnd;
    update();
}

bool WrappingLineEdit::removeLineBreak(const QKeyEvent& event) {
    if (isReadOnly() || hasSelectedText())
        return false;
    const QString current = text();
    const int cursor = cursorPosition();
    const bool plain = !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (plain && event.key() == Qt::Key_Backspace && insidePair(current, cursor - 1))
        setSelection(cursor - 2, 2);
    else if (event.matches(QKeySequence::Delete) && insidePair(current, cursor + 1))
        setSelection(cursor, 2);
    else
        return false;
    del();
    return true;
}

void WrappingLineEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const int key = event->key();
    const bool byRow =
        key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End;
    if (byRow && others == Qt::NoModifier) {
        moveCursorTo(placeForKey(key), event->modifiers().testFlag(Qt::ShiftModifier));
        event->accept();
        return;
    }
    // The line editor has no document to go to the start or end of; here it is the text.
    const bool toStart = event->matches(QKeySequence::MoveToStartOfDocument) ||
                         event->matches(QKeySequence::SelectStartOfDocument);
    const bool toEnd = event->matches(QKeySequence::MoveToEndOfDocument) ||
                       event->matches(QKeySequence::SelectEndOfDocument);
    if (toStart || toEnd) {
        moveCursorTo({toStart ? 0 : static_cast<int>(text().size()), false},
                     event->matches(QKeySequence::SelectStartOfDocument) ||
                         event->matches(QKeySequence::SelectEndOfDocument));
        event->accept();
        return;
    }
    if (removeLineBreak(*event)) {
        event->accept();
        return;
    }
    const int before = cursorPosition();
    FieldLineEdit::keyPressEvent(event);
    // Moves by character and by word see a CR LF as two characters; step over the pair.
    const int after = cursorPosition();
    if (insidePair(text(), after))
        moveCursorTo({after > before ? after + 1 : after - 1, false}, hasSelectedText());
}

void WrappingLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    FieldLineEdit::inputMethodEvent(event);
    m_preedit = event->preeditString();
    m_preeditCursor = static_cast<int>(m_preedit.size());
    m_preeditCursorShown = true;
    m_preeditFormats.clear();
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            m_preeditCursor = attribute.start;
            m_preeditCursorShown = attribute.length > 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format =
                qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid())
                m_preeditFormats.append({attribute.start, attribute.length, format});
        }
    }
    update();
    updateMicroFocus();
}

void WrappingLineEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        FieldLineEdit::mousePressEvent(event);
        return;
    }
    if (!m_preedit.isEmpty())
        QGuiApplication::inputMethod()->commit(); // what is composed stays where it was begun
    moveCursorTo(placeAt(event->position().toPoint()),
                 event->modifiers().testFlag(Qt::ShiftModifier));
    event->accept();
}

void WrappingLineEdit::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton))
        moveCursorTo(placeAt(event->position().toPoint()), true);
    event->accept();
}

void WrappingLineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Selects the word under the pointer: the run of characters between spaces and breaks.
    const QString shown = shownText(text());
    const auto isWordCharacter = [&](int i) { return !shown[i].isSpace(); };
    int start = placeAt(event->position().toPoint()).position;
    int end = start;
    while (start > 0 && isWordCharacter(start - 1))
        --start;
    while (end < shown.size() && isWordCharacter(end))
        ++end;
    setSelection(start, end - start);
    event->accept();
}

} // namespace quillon
