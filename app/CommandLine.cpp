// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help and exit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                tr("Show the version and exit.")) {
    m_parser.setApplicationDescription(
        tr("Edits the header of a Sega Mega Drive / Genesis ROM image in place."));
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addPositionalArgument(QStringLiteral("FILE"), tr("The ROM image to open."),
                                   QStringLiteral("[FILE]"));
}

bool CommandLine::parse(const QStringList& arguments) {
    m_error.clear();
    if (!m_parser.parse(arguments))
        return false;
    if (m_parser.positionalArguments().size() > 1) {
        m_error = tr("Name one ROM file at most.");
        return false;
    }
    return true;
}

QString CommandLine::errorText() const {
    return m_error.isEmpty() ? m_parser.errorText() : m_error;
}

std::optional<QString> CommandLine::romPath() const {
    const QStringList files = m_parser.positionalArguments();
    if (files.isEmpty())
        return std::nullopt;
    // The window shows the full path, as the file dialog gives it.
    return QDir::cleanPath(QFileInfo(files.first()).absoluteFilePath());
}

} // namespace quillon
