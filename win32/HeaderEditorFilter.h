// SPDX-License-Identifier: MIT
// The one key filter of the six header editors: a carriage return typed into any of them
// (Enter, Ctrl+M) is dropped, so it neither breaks a line nor reaches a button.
#pragma once

#include <cstddef>
#include <windows.h>

namespace quillon::win32 {

void watchHeaderEditor(HWND editor, std::size_t index);

// Whether a character typed into the editor of this index is dropped; the rule is the same for
// every index.
bool dropsCharacter(std::size_t index, WPARAM character);

} // namespace quillon::win32
