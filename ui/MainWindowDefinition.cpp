// SPDX-License-Identifier: MIT
#include "MainWindowDefinition.h"

#include "HeaderLayout.h"
#include "QuillonVersion.h"

#include <array>

namespace quillon {

namespace {

// The rows of header editors; caption, tag and limit come from the field table.
struct HeaderRow {
    int top;
    int height;
    bool multiLine;
    int labelTabIndex;
    int editorTabIndex;
};

constexpr std::array<HeaderRow, HeaderFieldCount> headerRows{{
    {56, 19, false, 3, 6},
    {72, 19, false, 4, 7},
    {88, 51, true, 5, 8},
    {136, 51, true, 9, 10},
    {184, 19, false, 12, 11},
    {200, 19, false, 14, 13},
}};

const QString multiLineInitialText = QStringLiteral("abcdefghijklmnop\r\n").repeated(3);

std::vector<ControlDefinition> controls() {
    using K = ControlKind;
    // A table reads best in rows.
    // clang-format off
    std::vector<ControlDefinition> list{
        {.name = "fraROMFile", .kind = K::Frame, .caption = "Current ROM File",
         .geometry = {8, 8, 393, 41}, .tabIndex = 0},
        {.name = "lblROMFile", .kind = K::Label, .container = "fraROMFile",
         .caption = "Select a ROM file.", .geometry = {8, 16, 313, 17}, .tabIndex = 1,
         .bordered = true},
        {.name = "cmdBrowse", .kind = K::Button, .container = "fraROMFile",
         .caption = "Browse...", .geometry = {328, 16, 57, 17}, .tabIndex = 2},
        {.name = "fraChecksum", .kind = K::Frame, .caption = "Checksum",
         .geometry = {224, 56, 177, 65}, .tabIndex = 15},
        {.name = "lblChecksumFromHeader", .kind = K::Label, .container = "fraChecksum",
         .caption = "Checksum from header:", .geometry = {8, 16, 121, 17}, .tabIndex = 16,
         .buddy = "txtHeaderChecksum"},
        {.name = "txtHeaderChecksum", .kind = K::LineEdit, .container = "fraChecksum",
         .geometry = {128, 16, 33, 19}, .font = FontRole::Fixed, .tabIndex = 17},
        {.name = "lblCalcChecksumDesc", .kind = K::Label, .container = "fraChecksum",
         .caption = "Calculated checksum:", .geometry = {8, 40, 113, 17}, .tabIndex = 18},
        {.name = "lblCalcChecksum", .kind = K::Label, .container = "fraChecksum",
         .geometry = {128, 40, 33, 19}, .font = FontRole::Fixed, .tabIndex = 19,
         .bordered = true},
        {.name = "lblCopyright(0)", .kind = K::Label, .caption = "Quillon v" + QString::fromUtf8(VersionText.data(), VersionText.size()),
         .geometry = {224, 128, 177, 17}, .tabIndex = 21, .centred = true},
        {.name = "lblCopyright(1)", .kind = K::Label,
         .caption = "\u00A9 2026 The Quillon Developers", .geometry = {224, 144, 177, 17},
         .tabIndex = 22, .centred = true},
        {.name = "Image1", .kind = K::Picture, .caption = ":/quillon/logo.gif",
         .geometry = {230, 160, 165, 75}},
        {.name = "cmdSave", .kind = K::Button, .caption = "Save Changes",
         .geometry = {8, 224, 209, 25}, .tabIndex = 20, .enabled = false},
    };
    // clang-format on
    for (const HeaderField& field : HeaderFieldTable) {
        const HeaderRow& row = headerRows[field.index];
        const QString editor = indexedName("txtHeaderInfo", field.index);
        list.push_back({.name = indexedName("lblHeaderInfo", field.index),
                        .kind = K::Label,
                        .caption = QString::fromUtf8(field.label.data(), field.label.size()),
                        .geometry = {8, row.top, 89, 17},
                        .tabIndex = row.labelTabIndex,
                        .buddy = editor});
        list.push_back(
            {.name = editor,
             .kind = row.multiLine ? K::WrappingEdit : K::LineEdit,
             .caption = row.multiLine ? multiLineInitialText : QString(),
             .geometry = {96, row.top, 121, row.height},
             .font = FontRole::Fixed,
             .tabIndex = row.editorTabIndex,
             .inputLimit = static_cast<int>(field.length),
             .tag = QString::fromUtf8(field.offsetText.data(), field.offsetText.size())});
    }
    return list;
}

} // namespace

QString indexedName(const QString& group, std::size_t index) {
    return QStringLiteral("%1(%2)").arg(group).arg(index);
}

const WindowDefinition& mainWindowDefinition() {
    static const WindowDefinition definition{"Quillon", {408, 256}, controls()};
    return definition;
}

} // namespace quillon
