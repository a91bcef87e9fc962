// SPDX-License-Identifier: MIT
// What the header editors take, the same in every window: each window turns its key events and
// its form's texts into these and does what they say.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// Whether the header editor of a field takes a character typed into it. Enter and Ctrl+M type a
// carriage return, which none takes: in a name editor it would break the line, and the window
// has no default button for it to press. (Escape types nothing the editors take either, and
// the window has no cancel button, so it does nothing.) The rule is the same for every field;
// text that is pasted or set is not typed, and keeps its line breaks.
bool headerEditorTakes(std::size_t fieldIndex, char32_t typed);

// An editor's text as the form writes it: a form holds line feeds only, and the editors' lines
// end in CR LF, as the header's texts do.
std::u32string editorTextFromForm(std::u32string_view formText);

} // namespace quillon
