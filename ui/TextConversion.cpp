// SPDX-License-Identifier: MIT
#include "TextConversion.h"

#include <QFile>

namespace quillon {

QString textFromBytes(const ByteText& bytes) {
    const std::u32string text = decodeText(bytes);
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

ByteText bytesFromText(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    return encodeText(std::u32string(codePoints.begin(), codePoints.end()));
}

std::string pathForCore(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace quillon
