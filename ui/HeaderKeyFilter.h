// SPDX-License-Identifier: MIT
// The one key filter of the six header editors: a key that types a character the editors'
// shared rule refuses (the carriage return of Enter, keypad Enter, Return with Shift or Ctrl,
// Ctrl+M) is swallowed before the editor sees it.
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

    // Whether a key typed into the editor of this field is swallowed.
    static bool swallows(std::size_t index, const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, std::size_t> m_indexes;
};

} // namespace quillon
