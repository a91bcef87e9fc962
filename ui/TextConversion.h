// SPDX-License-Identifier: MIT
// The window's only way between its Unicode texts and the header's bytes.
#pragma once

#include "CharacterSet.h"

#include <QString>

namespace quillon {

QString textFromBytes(const ByteText& bytes);
ByteText bytesFromText(const QString& text);

// Paths are handed to the header core in the file system's own encoding.
std::string pathForCore(const QString& path);

} // namespace quillon
