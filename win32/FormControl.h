// SPDX-License-Identifier: MIT
// What the window's form says about the window and each of its controls, as the build reads it
// out of ui/frmMain.ui into FormTable.h: the Win32 window is laid out from the same form as the
// Qt one.
#pragma once

#include <string_view>

namespace quillon::win32 {

// In pixels at 96 dots per inch.
struct FormBox {
    int left;
    int top;
    int width;
    int height;
};

struct FormWindow {
    std::string_view title;
    int clientWidth;
    int clientHeight;
    std::string_view fontFamily;
};

struct FormControl {
    std::string_view name;      // the form's object name, e.g. "txtHeaderInfo_2"
    std::string_view group;     // controls side by side share one, e.g. "txtHeaderInfo"
    int index;                  // the control's number in its group, or -1
    std::string_view formClass; // the Qt class the form makes it of
    std::string_view text;      // caption, title or initial text, in UTF-8
    FormBox box;                // in the client area, frames' insides included
    std::string_view fontFamily;
    std::string_view picture; // the picture a label shows instead of a text, if any
    bool enabled;
    bool bordered;
    bool centred;
    bool tabStop;
};

} // namespace quillon::win32
