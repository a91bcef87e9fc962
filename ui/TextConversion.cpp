// SPDX-License-Identifier: MIT
#include "TextConversion.h"

#include <QCoreApplication>
#include <QFile>

namespace quillon {

QString fromCodePoints(const std::u32string& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::u32string toCodePoints(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::u32string(codePoints.begin(), codePoints.end());
}

QString textFromBytes(const ByteText& bytes) { return fromCodePoints(decodeText(bytes)); }

ByteText bytesFromText(const QString& text) { return encodeText(toCodePoints(text)); }

std::string pathForCore(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString pathFromCore(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString translatedText(const std::string& text) {
    // The commands know no toolkit, so their texts are translated here, in their own context.
    return QCoreApplication::translate("HeaderCommands", text.c_str());
}

} // namespace quillon
