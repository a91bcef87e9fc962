// SPDX-License-Identifier: MIT
// The desktop entry: file managers offer Quillon for Mega Drive ROMs and hand it the file.
#include "RomBuilder.h"

#include <QFile>
#include <QMimeDatabase>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString entryValue(const QString& key) {
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

class DesktopEntryTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheChosenFile() {
        QCOMPARE(entryValue(QStringLiteral("Exec")), QStringLiteral("quillon %f"));
    }

    // The system's MIME database knows the listed types and gives them to ROM images, both by
    // name and, for a plain .bin, by the console name in the header.
    void claimsTheTypesOfMegaDriveRoms() {
        const QStringList claimed =
            entryValue(QStringLiteral("MimeType")).split(u';', Qt::SkipEmptyParts);
        QCOMPARE(claimed.size(), 2);
        QMimeDatabase mimeTypes;
        for (const QString& name : claimed)
            QVERIFY2(mimeTypes.mimeTypeForName(name).isValid(), qPrintable(name));

        TempDir dir;
        Bytes rom(0x400, 0);
        setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
        for (const char* name : {"game.bin", "GAME.GEN", "game.smd", "game.32x"}) {
            const std::string path = dir.file(name);
            writeBytes(path, rom);
            const QString type = mimeTypes.mimeTypeForFile(QString::fromStdString(path)).name();
            QVERIFY2(claimed.contains(type), qPrintable(QStringLiteral("%1: %2").arg(name, type)));
        }
    }
};

QTEST_MAIN(DesktopEntryTest)
#include "DesktopEntryTest.moc"
