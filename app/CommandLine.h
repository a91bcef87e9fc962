// SPDX-License-Identifier: MIT
// The window program's command line: quillon [FILE], with --help and --version.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <optional>

namespace quillon {

class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    CommandLine();

    // Reads the arguments, the program's name first. False on a mistake, told by errorText().
    bool parse(const QStringList& arguments);
    QString errorText() const;

    bool helpRequested() const { return m_parser.isSet(m_help); }
    bool versionRequested() const { return m_parser.isSet(m_version); }
    QString helpText() const { return m_parser.helpText(); }

    // The ROM to open at start, as a full path.
    std::optional<QString> romPath() const;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_error;
};

} // namespace quillon
