// SPDX-License-Identifier: MIT
// The main window as data: every control with its kind, place, caption and tab index.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillon {

enum class ControlKind { Frame, Label, Button, LineEdit, WrappingEdit, Picture };
enum class FontRole { Default, Fixed };

struct ControlDefinition {
    QString name{}; // the header rows' controls carry their index: "txtHeaderInfo(2)"
    ControlKind kind = ControlKind::Label;
    QString container{}; // the frame holding it; empty for the window itself
    QString caption{};   // caption, initial text or picture resource
    QRect geometry{};    // logical pixels, from the container's top-left corner
    FontRole font = FontRole::Default;
    int tabIndex = -1;
    bool enabled = true;
    bool bordered = false;
    bool centred = false;
    QString buddy{}; // the editor a label names
    int inputLimit = 0;
    QString tag{}; // an editor's field offset, as "&H" and hex digits
};

struct WindowDefinition {
    QString caption;
    QSize clientSize;
    std::vector<ControlDefinition> controls;
};

const WindowDefinition& mainWindowDefinition();

// "txtHeaderInfo" and 2 give "txtHeaderInfo(2)".
QString indexedName(const QString& group, std::size_t index);

} // namespace quillon
