// SPDX-License-Identifier: MIT
// A line editor that keeps its text exactly and limits what the user puts into it, but never
// what the program sets (QLineEdit's own maximum would cut set texts too). The limit counts
// code points, as the header counts bytes, and every way in goes through the one rule of
// fitted(): typing, the paste keys, the context menu's Paste, the middle-button paste, input
// methods, assistive technology. Undo and redo replay what went in, so they keep to it too.
#pragma once

#include <QClipboard>
#include <QLineEdit>

namespace quillon {

class FieldLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit FieldLineEdit(QWidget* parent = nullptr);

    // The most characters the user may bring the text to; 0 means no limit.
    void setInputLimit(int limit) { m_inputLimit = limit; }
    int inputLimit() const { return m_inputLimit; }

    // Puts the text in place of the selection as far as the limit allows, never splitting a
    // character; whether anything went in.
    bool insertWithinLimit(const QString& text);
    void pasteWithinLimit(QClipboard::Mode mode = QClipboard::Clipboard);

    // The text position under a point of the widget, and where the character at a position
    // is drawn, in the widget's coordinates.
    virtual int textPositionAt(const QPoint& point) const;
    virtual QRect characterRectangle(int position) const;
    virtual bool isMultiLine() const { return false; }

protected:
    // The start of `insertion` that fits beside the `kept` text.
    QString fitted(QStringView insertion, QStringView kept) const;

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString textOutsideSelection() const;
    void endUndoStep();
    bool middleButtonPastes() const;

    int m_inputLimit = 0;
};

} // namespace quillon
