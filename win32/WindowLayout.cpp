// SPDX-License-Identifier: MIT
#include "WindowLayout.h"

#include "HeaderLayout.h"
#include "QuillonVersion.h"

#include <algorithm>
#include <array>

namespace quillon::win32 {

namespace {

constexpr Box romFileFrame{8, 8, 393, 41};
constexpr Box checksumFrame{224, 56, 177, 65};

// A control's place given from its frame's corner, as frames hold them.
constexpr Box inside(const Box& frame, const Box& box) {
    return {frame.left + box.left, frame.top + box.top, box.width, box.height};
}

// Where each field's label and editor sit; the editors overlap the row below by 3 pixels.
struct EditorRow {
    int top;
    int height;
    bool multiLine;
    int labelTabIndex;
    int editorTabIndex;
};

constexpr std::array<EditorRow, HeaderFieldCount> editorRows{{
    {56, 19, false, 3, 6},
    {72, 19, false, 4, 7},
    {88, 51, true, 5, 8},
    {136, 51, true, 9, 10},
    {184, 19, false, 12, 11},
    {200, 19, false, 14, 13},
}};

} // namespace

std::vector<ControlLayout> mainWindowLayout() {
    using K = ControlKind;
    std::vector<ControlLayout> layout{
        {.id = FraROMFile,
         .kind = K::Frame,
         .caption = "Current ROM File",
         .box = romFileFrame,
         .tabIndex = 0},
        {.id = LblROMFile,
         .kind = K::Label,
         .caption = "Select a ROM file.",
         .box = inside(romFileFrame, {8, 16, 313, 17}),
         .bordered = true,
         .tabIndex = 1},
        {.id = CmdBrowse,
         .kind = K::Button,
         .caption = "Browse...",
         .box = inside(romFileFrame, {328, 16, 57, 17}),
         .tabIndex = 2},
        {.id = FraChecksum,
         .kind = K::Frame,
         .caption = "Checksum",
         .box = checksumFrame,
         .tabIndex = 15},
        {.id = LblChecksumFromHeader,
         .kind = K::Label,
         .caption = "Checksum from header:",
         .box = inside(checksumFrame, {8, 16, 121, 17}),
         .tabIndex = 16},
        {.id = TxtHeaderChecksum,
         .kind = K::Editor,
         .box = inside(checksumFrame, {128, 16, 33, 19}),
         .font = FontRole::Fixed,
         .tabIndex = 17},
        {.id = LblCalcChecksumDesc,
         .kind = K::Label,
         .caption = "Calculated checksum:",
         .box = inside(checksumFrame, {8, 40, 113, 17}),
         .tabIndex = 18},
        {.id = LblCalcChecksum,
         .kind = K::Label,
         .box = inside(checksumFrame, {128, 40, 33, 19}),
         .font = FontRole::Fixed,
         .bordered = true,
         .tabIndex = 19},
        {.id = CmdSave,
         .kind = K::Button,
         .caption = "Save Changes",
         .box = {8, 224, 209, 25},
         .enabled = false,
         .tabIndex = 20},
        {.id = LblCopyright0,
         .kind = K::Label,
         .caption = "Quillon v" + std::string(VersionText),
         .box = {224, 128, 177, 17},
         .centred = true,
         .tabIndex = 21},
        {.id = LblCopyright1,
         .kind = K::Label,
         .caption = "\u00A9 2026 The Quillon Developers",
         .box = {224, 144, 177, 17},
         .centred = true,
         .tabIndex = 22},
    };
    for (const HeaderField& field : HeaderFieldTable) {
        const EditorRow& row = editorRows[field.index];
        const int index = static_cast<int>(field.index);
        layout.push_back({.id = LblHeaderInfo0 + index,
                          .kind = K::Label,
                          .caption = std::string(field.label),
                          .box = {8, row.top, 89, 17},
                          .tabIndex = row.labelTabIndex,
                          .fieldIndex = index});
        layout.push_back({.id = TxtHeaderInfo0 + index,
                          .kind = K::Editor,
                          .box = {96, row.top, 121, row.height},
                          .font = FontRole::Fixed,
                          .multiLine = row.multiLine,
                          .tabIndex = row.editorTabIndex,
                          .fieldIndex = index});
    }
    std::stable_sort(
        layout.begin(), layout.end(),
        [](const ControlLayout& a, const ControlLayout& b) { return a.tabIndex < b.tabIndex; });
    return layout;
}

} // namespace quillon::win32
