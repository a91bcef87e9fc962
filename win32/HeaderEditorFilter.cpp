// SPDX-License-Identifier: MIT
#include "HeaderEditorFilter.h"

#include "EditorRules.h"

#include <commctrl.h>

namespace quillon::win32 {

namespace {

LRESULT CALLBACK headerEditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR index) {
    switch (message) {
    case WM_CHAR:
        if (!headerEditorTakes(static_cast<std::size_t>(index), static_cast<char32_t>(wParam)))
            return 0;
        break;
    case WM_GETDLGCODE:
        // A multi-line editor asks for every key, Tab, Enter and Escape included, and closes
        // the window on Escape; here those keys stay with the window, as in the single-line
        // editors: Tab moves on, Enter and Escape do nothing.
        return ::DefSubclassProc(editor, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(editor, headerEditorProc, 1);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(editor, message, wParam, lParam);
}

} // namespace

void watchHeaderEditor(HWND editor, std::size_t index) {
    ::SetWindowSubclass(editor, headerEditorProc, 1, index);
}

} // namespace quillon::win32
