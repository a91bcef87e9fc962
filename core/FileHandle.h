// SPDX-License-Identifier: MIT
// The system's handle of an open file, for the classes that keep one: a HANDLE on Windows,
// declared without <windows.h> so that no header of the core drags it in, and a descriptor
// elsewhere.
#pragma once

namespace quillon {

#ifdef _WIN32
using FileHandle = void*;
inline constexpr FileHandle NoFileHandle = nullptr;
#else
using FileHandle = int;
inline constexpr FileHandle NoFileHandle = -1;
#endif

} // namespace quillon
