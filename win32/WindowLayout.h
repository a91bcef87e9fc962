// SPDX-License-Identifier: MIT
// The Win32 window's controls as data: kind, caption and place in pixels at 96 dots per inch,
// listed in tab order, which is the order they are made in.
#pragma once

#include <string>
#include <vector>

namespace quillon::win32 {

struct Box {
    int left;
    int top;
    int width;
    int height;
};

enum class ControlKind { Frame, Label, Button, Editor };
enum class FontRole { Default, Fixed };

enum ControlId : int {
    // 1 and 2 are what the dialog manager sends for Enter and Escape; no control answers them.
    FraROMFile = 100,
    LblROMFile,
    CmdBrowse,
    FraChecksum,
    LblChecksumFromHeader,
    TxtHeaderChecksum,
    LblCalcChecksumDesc,
    LblCalcChecksum,
    CmdSave,
    LblCopyright0,
    LblCopyright1,
    LblHeaderInfo0 = 200, // + the field's index
    TxtHeaderInfo0 = 300, // + the field's index
};

struct ControlLayout {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string caption = {}; // UTF-8
    Box box = {};             // in the client area
    FontRole font = FontRole::Default;
    bool bordered = false;
    bool centred = false;
    bool multiLine = false;
    bool enabled = true;
    int tabIndex = -1;
    int fieldIndex = -1; // the row of the field table, for its editor and label
};

inline constexpr int ClientWidth = 408;
inline constexpr int ClientHeight = 256;
inline constexpr Box PictureBox{230, 160, 165, 75};

// The initial text of the two name editors: three lines of sixteen letters, each ending in
// CR LF, laid out as three full lines of the fixed-pitch font.
inline constexpr char32_t NameEditorInitialText[] = U"abcdefghijklmnop\r\n"
                                                    U"abcdefghijklmnop\r\n"
                                                    U"abcdefghijklmnop\r\n";

std::vector<ControlLayout> mainWindowLayout();

} // namespace quillon::win32
