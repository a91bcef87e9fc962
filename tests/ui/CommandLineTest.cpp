// SPDX-License-Identifier: MIT
// quillon [FILE]: what the command line asks for, the ROM it names opening as Browse would,
// the answers the program gives with no display at all, and the desktop entry through which
// file managers start it on a ROM.
#include "CommandLine.h"

#include "RomBuilder.h"
#include "WindowUnderTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeDatabase>
#include <QProcess>
#include <QTest>
#include <QUrl>

using namespace quillon;
using namespace quillon::test;

namespace {

struct Run {
    int exitCode;
    QProcess::ExitStatus exitStatus;
    QString output;
    QString errors;
};

// Runs the program as a terminal without a graphical session would.
Run runWithoutDisplay(const QStringList& arguments, const QString& display = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    if (!program.waitForFinished(30000))
        qFatal("the program did not end");
    return {program.exitCode(), program.exitStatus(),
            QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

QString desktopEntryValue(const QString& key) {
    QFile file(QStringLiteral(QUILLON_DESKTOP_ENTRY));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the desktop entry");
    const QString prefix = key + u'=';
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void namesAtMostOneRomAsAFullPath() {
        CommandLine line;
        QVERIFY(line.parse({"quillon"}));
        QVERIFY(!line.romPath());
        QVERIFY(!line.helpRequested() && !line.versionRequested());

        QVERIFY(line.parse({"quillon", "roms/../game.bin"}));
        QCOMPARE(line.romPath(), QDir::current().absoluteFilePath(QStringLiteral("game.bin")));

        QVERIFY(!line.parse({"quillon", "one.bin", "two.bin"}));
        QVERIFY(!line.errorText().isEmpty());
        QVERIFY(line.parse({"quillon", "--version"}) && line.versionRequested());
        QVERIFY(line.parse({"quillon", "-h"}) && line.helpRequested());
    }

    void theNamedRomOpensAsIfChosenWithBrowse() {
        TempDir dir;
        Bytes rom(0x400, 0);
        setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
        const QString path = QString::fromStdString(dir.file("game.bin"));
        writeBytes(path.toStdString(), rom);

        WindowUnderTest ui;
        ui.open();
        const QString fresh = ui.find<QLabel>("lblROMFile")->text();
        CommandLine line;
        QVERIFY(line.parse({"quillon", path + QStringLiteral(".missing")}));
        ui.window->openRom(*line.romPath());
        QCOMPARE(ui.messages.shown.size(), std::size_t{1});
        QCOMPARE(ui.messages.shown[0].title, std::string("Cannot Read ROM"));
        QVERIFY(QString::fromStdString(ui.messages.shown[0].text).contains(*line.romPath()));
        QCOMPARE(ui.find<QLabel>("lblROMFile")->text(), fresh);
        QVERIFY(!ui.find("cmdSave")->isEnabled());

        QVERIFY(line.parse({"quillon", path}));
        ui.window->openRom(*line.romPath());
        QCOMPARE(ui.messages.shown.size(), std::size_t{1});
        QCOMPARE(ui.find<QLabel>("lblROMFile")->text(), path);
        QCOMPARE(ui.headerEditor(0)->text(), QStringLiteral("SEGA MEGA DRIVE "));
        QVERIFY(ui.find("cmdSave")->isEnabled());
        QVERIFY(ui.dialog.requests.empty());
    }

    void answersWithoutADisplay() {
        const Run version = runWithoutDisplay({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.output, QStringLiteral("1.00\n"));

        const Run help = runWithoutDisplay({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.output.startsWith(QStringLiteral("Usage: quillon [options] [FILE]\n")),
                 qPrintable(help.output));

        // No display named, and one named that cannot be reached: one line, status 1, no abort.
        for (const QString& display : {QString(), QStringLiteral(":4999")}) {
            const Run window = runWithoutDisplay({"game.bin"}, display);
            QCOMPARE(window.exitStatus, QProcess::NormalExit);
            QCOMPARE(window.exitCode, 1);
            const QStringList lines = window.errors.split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(lines.last().contains(QStringLiteral("no display could be opened")) &&
                         lines.last().contains(QStringLiteral("DISPLAY")),
                     qPrintable(window.errors));
            if (display.isEmpty())
                QCOMPARE(lines.size(), 1);
        }
    }

    // A file manager starts the entry on a file as its Exec line says, the file in place of its
    // field code (a path for %f and %F, an address for %u and %U), as one argument.
    void theDesktopEntryStartsTheProgramOnTheChosenFile() {
        const QString rom = QDir::current().absoluteFilePath(QStringLiteral("my game.bin"));
        QStringList arguments;
        for (const QString& word : desktopEntryValue(QStringLiteral("Exec")).split(u' ')) {
            if (word == QStringLiteral("%f") || word == QStringLiteral("%F"))
                arguments.append(rom);
            else if (word == QStringLiteral("%u") || word == QStringLiteral("%U"))
                arguments.append(QUrl::fromLocalFile(rom).toString());
            else
                arguments.append(word);
        }
        QCOMPARE(arguments.first(), QFileInfo(QStringLiteral(QUILLON_PROGRAM)).fileName());
        CommandLine line;
        QVERIFY(line.parse(arguments));
        QCOMPARE(line.romPath(), rom);
    }

    // The system's MIME database knows the types the entry claims and gives them to ROM images,
    // both by name and, for a plain .bin, by the console name in the header.
    void theDesktopEntryClaimsTheTypesOfMegaDriveRoms() {
        const QStringList claimed =
            desktopEntryValue(QStringLiteral("MimeType")).split(u';', Qt::SkipEmptyParts);
        QMimeDatabase mimeTypes;
        for (const QString& name : claimed)
            QVERIFY2(mimeTypes.mimeTypeForName(name).isValid(), qPrintable(name));

        TempDir dir;
        Bytes rom(0x400, 0);
        setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
        for (const char* name : {"game.bin", "GAME.GEN", "game.smd", "game.32x"}) {
            const std::string path = dir.file(name);
            writeBytes(path, rom);
            const QString type = mimeTypes.mimeTypeForFile(QString::fromStdString(path)).name();
            QVERIFY2(claimed.contains(type), qPrintable(QStringLiteral("%1: %2").arg(name, type)));
        }
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
