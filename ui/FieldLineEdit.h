// SPDX-License-Identifier: MIT
// A line editor that keeps its text exactly and limits what the user types or pastes, but
// never what the program sets (QLineEdit's own maximum would cut set texts too).
#pragma once

#include <QLineEdit>

namespace quillon {

class FieldLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit FieldLineEdit(QWidget* parent = nullptr);

    // The most characters typing and pasting may bring the text to; 0 means no limit.
    void setInputLimit(int limit) { m_inputLimit = limit; }
    int inputLimit() const { return m_inputLimit; }

    // Pastes the clipboard, cut to what the limit leaves room for.
    void pasteWithinLimit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Characters that may still be added in place of the current selection.
    qsizetype room() const;
    void insertWithinLimit(const QString& text);

private:
    int m_inputLimit = 0;
};

} // namespace quillon
