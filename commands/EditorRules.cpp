// SPDX-License-Identifier: MIT
#include "EditorRules.h"

namespace quillon {

bool headerEditorTakes([[maybe_unused]] std::size_t fieldIndex, char32_t typed) {
    return typed != U'\r';
}

std::u32string editorTextFromForm(std::u32string_view formText) {
    std::u32string text;
    for (const char32_t c : formText) {
        if (c == U'\n')
            text += U'\r';
        text += c;
    }
    return text;
}

} // namespace quillon
