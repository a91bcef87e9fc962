// SPDX-License-Identifier: MIT
// The one key filter of the six header editors: a carriage return typed into any of them
// (Enter, keypad Enter, Return with Shift or Ctrl, Ctrl+M) is swallowed, so it neither breaks
// a line nor reaches a button.
#pragma once

#include <QHash>
#include <QObject>

class QKeyEvent;
class QWidget;

namespace quillon {

class HeaderKeyFilter : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void watch(QWidget* editor, std::size_t index);

    // Whether a key typed into the editor of this index is swallowed; the rule is the same
    // for every index.
    static bool swallows(std::size_t index, const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, std::size_t> m_indexes;
};

} // namespace quillon
