// SPDX-License-Identifier: MIT
// The one key filter of the six header editors: a character typed into one of them that the
// editors' shared rule refuses (the carriage return of Enter and Ctrl+M) never reaches it.
#pragma once

#include <cstddef>
#include <windows.h>

namespace quillon::win32 {

void watchHeaderEditor(HWND editor, std::size_t index);

} // namespace quillon::win32
