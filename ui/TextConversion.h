// SPDX-License-Identifier: MIT
// Between Qt's strings and the commands' own: code points for the editors, UTF-8 for other
// texts, and paths in the file system's own encoding.
#pragma once

#include "CharacterSet.h"

#include <QString>
#include <string>

namespace quillon {

QString fromCodePoints(const std::u32string& text);
std::u32string toCodePoints(const QString& text);

// Header bytes through the program's one character set.
QString textFromBytes(const ByteText& bytes);
ByteText bytesFromText(const QString& text);

std::string pathForCore(const QString& path);
QString pathFromCore(const std::string& path);

// A text of the commands in the user's language, where a translation is installed.
QString translatedText(const std::string& text);

} // namespace quillon
