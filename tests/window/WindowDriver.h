// SPDX-License-Identifier: MIT
// The window as its contract tests use it, whichever toolkit it is made of: they do what a user
// does and read what the window shows, naming its controls as the form does. Each window has a
// driver of its own, so the very same tests run against both.
#pragma once

#include "Fakes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::test {

enum class Key { Enter, KeypadEnter, ShiftEnter, CtrlEnter, CtrlM, Escape, Tab, ShiftTab };

// In pixels at 96 dots per inch, in the window's client area.
struct Box {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const Box&) const = default;
};

class WindowDriver {
public:
    virtual ~WindowDriver() = default;

    // The window's file dialog and message box: each Browse takes the dialog's next answer.
    FakeFileDialog dialog;
    FakeMessageBox messages;

    virtual std::string title() const = 0;
    virtual Box clientArea() const = 0;
    // Whether the user can neither resize, minimise nor maximise the window, only close it.
    virtual bool onlyCloses() const = 0;
    virtual bool isOpen() const = 0;

    virtual Box place(std::string_view control) const = 0;
    // A control's caption, or an editor's text, in UTF-8.
    virtual std::string text(std::string_view control) const = 0;
    // Whether a label's caption is drawn whole, within its border.
    virtual bool captionFits(std::string_view label) const = 0;
    virtual bool isEnabled(std::string_view control) const = 0;
    virtual std::string focused() const = 0;

    // Keys and pastes go to the end of an editor's text, as after a click past its end.
    virtual void type(std::string_view editor, std::string_view text) = 0;
    virtual void paste(std::string_view editor, std::string_view text) = 0;
    // Selects everything in an editor and deletes it.
    virtual void clear(std::string_view editor) = 0;
    virtual void press(std::string_view control, Key key) = 0;
    virtual void click(std::string_view button) = 0;
    // Files let go over the middle of a control, as a file manager drops them.
    virtual void drop(const std::vector<std::string>& files, std::string_view onto) = 0;
};

// A new window, shown, with the focus where it starts; each window's driver makes its own.
std::unique_ptr<WindowDriver> openWindow();

} // namespace quillon::test
