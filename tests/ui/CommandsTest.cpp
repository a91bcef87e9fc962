// SPDX-License-Identifier: MIT
// Browse and Save through the real window, with the dialog and message boxes answered here.
#include "FieldLineEdit.h"
#include "HeaderFile.h"
#include "RomBuilder.h"
#include "WindowUnderTest.h"
#include "frmMain.h"

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace quillon;
using namespace quillon::test;

namespace {

// Everything the window shows, to tell whether a command changed anything.
QStringList snapshot(const QWidget& window) {
    QStringList state;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<const QLabel*>(widget))
            text = label->text();
        else if (auto* editor = qobject_cast<const QLineEdit*>(widget))
            text = editor->text();
        state.append(QStringLiteral("%1=%2 enabled=%3")
                         .arg(widget->objectName(), text)
                         .arg(widget->isEnabled()));
    }
    return state;
}

// A ROM whose stored checksum is 8F1C while its content sums to 8F1D.
Bytes mismatchedRom() {
    Bytes rom(0x400, 0);
    setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
    setFieldBytes(rom, HeaderFieldTable[1], "(C)QUIL 2026.DEC");
    setFieldBytes(rom, HeaderFieldTable[2], "DOMESTIC");
    setFieldBytes(rom, HeaderFieldTable[3], "OVERSEAS");
    setFieldBytes(rom, HeaderFieldTable[4], "GM 00000001-00");
    setFieldBytes(rom, HeaderFieldTable[5], "JUE");
    rom[0x18E] = 0x8F;
    rom[0x18F] = 0x1C;
    rom[0x200] = 0x8F;
    rom[0x201] = 0x1D;
    rom[0x1A0] = 0xAA; // outside every field
    return rom;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    WindowUnderTest m_ui;
    std::unique_ptr<TempDir> m_dir;

    FieldLineEdit* editor(std::size_t index) { return m_ui.headerEditor(index); }
    QLineEdit* checksumEditor() { return m_ui.find<QLineEdit>("txtHeaderChecksum"); }

    QString romFile(const QString& name, const Bytes& bytes) {
        const std::string path = m_dir->file(name.toStdString());
        writeBytes(path, bytes);
        return QString::fromStdString(path);
    }
    void browse(const std::optional<QString>& answer) {
        m_ui.dialog.answers.enqueue(answer);
        QTest::mouseClick(m_ui.find<QPushButton>("cmdBrowse"), Qt::LeftButton);
    }
    void save() { QTest::mouseClick(m_ui.find<QPushButton>("cmdSave"), Qt::LeftButton); }
    // Drags the urls over the middle of a control and lets go; whether the window took them.
    bool drop(const QList<QUrl>& urls, const char* onto) {
        QMimeData data;
        data.setUrls(urls);
        const QWidget* target = m_ui.find(onto);
        const QPoint at = target->mapTo(m_ui.window.get(), target->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ui.window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ui.window.get(), &dropped);
        if (enter.isAccepted() != dropped.isAccepted())
            qFatal("the drag and the drop were answered differently");
        return dropped.isAccepted();
    }
    void typeChecksum(const QString& text) {
        checksumEditor()->selectAll();
        checksumEditor()->del();
        QTest::keyClicks(checksumEditor(), text);
    }

private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        m_ui.open();
        QVERIFY(QTest::qWaitForWindowExposed(m_ui.window.get()));
    }
    void cleanup() {
        m_ui.close();
        m_dir.reset();
    }

    void browseShowsTheHeaderAndSaveWritesTheEdits() {
        const Bytes rom = mismatchedRom();
        const QString path = romFile("game.bin", rom);
        browse(path);
        QCOMPARE(m_ui.dialog.requests.size(), 1);
        QCOMPARE(m_ui.dialog.requests[0].title, QStringLiteral("Select a ROM file"));
        QCOMPARE(m_ui.dialog.requests[0].filterDescription,
                 QStringLiteral("Genesis Binary ROM Files (*.BIN;*.GEN;*.32x)"));
        QVERIFY(m_ui.dialog.requests[0].startPath.isEmpty());

        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), path);
        QCOMPARE(editor(0)->text(), QStringLiteral("SEGA MEGA DRIVE "));
        QCOMPARE(editor(3)->text(), QStringLiteral("OVERSEAS"));
        QCOMPARE(editor(5)->text(), QStringLiteral("JUE"));
        QCOMPARE(checksumEditor()->text(), QStringLiteral("8F1C"));
        QCOMPARE(m_ui.find<QLabel>("lblCalcChecksum")->text(), QStringLiteral("8F1D"));
        QVERIFY(m_ui.find("cmdSave")->isEnabled());

        typeChecksum(QStringLiteral("8F1D"));
        editor(3)->selectAll();
        QTest::keyClicks(editor(3), QStringLiteral("NEW NAME"));
        save();

        QVERIFY(m_ui.messages.shown.isEmpty());
        Bytes expected = rom;
        expected[0x18F] = 0x1D;
        setFieldBytes(expected, HeaderFieldTable[2], "DOMESTIC" + std::string(40, ' '));
        setFieldBytes(expected, HeaderFieldTable[3], "NEW NAME" + std::string(40, ' '));
        QCOMPARE(readBytes(path.toStdString()), expected);
        QCOMPARE(editor(3)->text(), QStringLiteral("NEW NAME") + QString(40, u' '));
        QCOMPARE(editor(0)->text(), QStringLiteral("SEGA MEGA DRIVE ")); // already full
        QCOMPARE(checksumEditor()->text(), QStringLiteral("8F1D"));
        QVERIFY(m_ui.find("cmdSave")->isEnabled());

        // The next Browse starts on the file chosen last.
        browse(std::nullopt);
        QCOMPARE(m_ui.dialog.requests.last().startPath, path);
    }

    void cancellingChangesNothing() {
        const QStringList fresh = snapshot(*m_ui.window);
        browse(std::nullopt);
        QCOMPARE(snapshot(*m_ui.window), fresh);
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), QStringLiteral("Select a ROM file."));
        QVERIFY(!m_ui.find("cmdSave")->isEnabled());

        browse(romFile("game.bin", mismatchedRom()));
        editor(1)->setText(QStringLiteral("unsaved edit"));
        const QStringList edited = snapshot(*m_ui.window);
        browse(std::nullopt);
        QCOMPARE(snapshot(*m_ui.window), edited);
    }

    void aSecondRomReplacesEverythingShown() {
        browse(romFile("first.bin", mismatchedRom()));
        editor(2)->setText(QStringLiteral("edit that is dropped"));
        Bytes small(513, 0x41); // too short to have a checksummed word
        const QString second = romFile("second.gen", small);
        browse(second);
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), second);
        QCOMPARE(editor(2)->text(), QString(48, u'A'));
        QCOMPARE(checksumEditor()->text(), QStringLiteral("4141"));
        QCOMPARE(m_ui.find<QLabel>("lblCalcChecksum")->text(), QStringLiteral("0000"));
    }

    void invalidChecksumShowsTheBoxAndWritesNothing() {
        const Bytes rom = mismatchedRom();
        const QString path = romFile("game.bin", rom);
        browse(path);
        editor(4)->setText(QStringLiteral("changed"));
        for (const QString& invalid : {QString(), QStringLiteral("0x1234"), QStringLiteral("12 3"),
                                       QStringLiteral("G1"), QStringLiteral("123456789")}) {
            m_ui.messages.shown.clear();
            typeChecksum(invalid);
            save();
            QCOMPARE(m_ui.messages.shown.size(), 1);
            QCOMPARE(m_ui.messages.shown[0].title, QStringLiteral("Invalid Checksum"));
            QCOMPARE(m_ui.messages.shown[0].text,
                     QStringLiteral("Invalid checksum entered. Checksum must be in hexadecimal."));
            QCOMPARE(readBytes(path.toStdString()), rom);
            QCOMPARE(editor(4)->text(), QStringLiteral("changed"));
        }
    }

    void saveStoresTheChecksumAsTypedAndPadsShortTexts() {
        const QString path = romFile("game.bin", mismatchedRom());
        browse(path);
        typeChecksum(QStringLiteral("1a2b"));
        editor(5)->clear();
        save();
        const Bytes saved = readBytes(path.toStdString());
        QCOMPARE(saved[0x18E], 0x1A);
        QCOMPARE(saved[0x18F], 0x2B);
        QCOMPARE(fieldBytes(saved, HeaderFieldTable[5]), std::string_view("   "));
        QCOMPARE(editor(5)->text(), QStringLiteral("   "));
        QCOMPARE(checksumEditor()->text(), QStringLiteral("1a2b"));

        save(); // a second save writes the same bytes
        QCOMPARE(readBytes(path.toStdString()), saved);

        browse(path); // and a new load shows them, trailing spaces and upper case
        QCOMPARE(checksumEditor()->text(), QStringLiteral("1A2B"));
        QCOMPARE(editor(2)->text(), QStringLiteral("DOMESTIC") + QString(40, u' '));
    }

    void afterSaveEveryEditorShowsWhatItsFieldHolds() {
        browse(romFile("game.bin", mismatchedRom()));
        // Full length, but "Ж" has no byte and becomes "?"; too long, cut to the field; short,
        // padded; already what the file holds, left as the user has it.
        editor(4)->setText(QStringLiteral("GM 0000000\u0416-00"));
        editor(2)->setText(QStringLiteral("abcdefghijklmnop\r\n").repeated(3));
        editor(5)->setText(QStringLiteral("J"));
        editor(0)->setCursorPosition(4);
        save();
        QCOMPARE(editor(4)->text(), QStringLiteral("GM 0000000?-00"));
        QCOMPARE(editor(2)->text(), QStringLiteral("abcdefghijklmnop\r\n").repeated(3).left(48));
        QCOMPARE(editor(5)->text(), QStringLiteral("J  "));
        QCOMPARE(editor(0)->text(), QStringLiteral("SEGA MEGA DRIVE "));
        QCOMPARE(editor(0)->cursorPosition(), 4);
    }

    void unchangedRoundTripThroughTheWindowKeepsEveryByte() {
        // Two ROMs carry every byte value 1-255 across the six fields, CR, LF and 0xA0
        // included, in the single-line and the multi-line editors alike.
        for (int round = 0; round < 2; ++round) {
            Bytes rom = randomBytes(0x800, static_cast<std::uint32_t>(round));
            int value = round == 0 ? 1 : 146;
            for (const HeaderField& field : HeaderFieldTable) {
                for (std::size_t k = 0; k < field.length; ++k, ++value)
                    rom[field.offset + k] = static_cast<std::uint8_t>((value - 1) % 255 + 1);
            }
            const QString path = romFile(QStringLiteral("round%1.bin").arg(round), rom);
            browse(path);
            save();
            QVERIFY(m_ui.messages.shown.isEmpty());
            QCOMPARE(readBytes(path.toStdString()), rom);
        }
    }

    void aRomThatCannotBeReadIsReportedAndChangesNothing() {
        const QStringList fresh = snapshot(*m_ui.window);
        const QString missing = QString::fromStdString(m_dir->file("gone.bin"));
        browse(missing);
        QCOMPARE(m_ui.messages.shown.size(), 1);
        QCOMPARE(m_ui.messages.shown[0].title, QStringLiteral("Cannot Read ROM"));
        QVERIFY(m_ui.messages.shown[0].text.contains(missing));
        QVERIFY(m_ui.messages.shown[0].text.contains(QStringLiteral("No such file")));
        QCOMPARE(snapshot(*m_ui.window), fresh);

        browse(romFile("game.bin", mismatchedRom()));
        const QStringList loaded = snapshot(*m_ui.window);
        browse(QString::fromStdString(m_dir->path().string()));
        QCOMPARE(m_ui.messages.shown.size(), 2);
        QVERIFY(m_ui.messages.shown[1].text.contains(QStringLiteral("not a regular file")));
        QCOMPARE(snapshot(*m_ui.window), loaded);
    }

    void aDroppedRomLoadsAsBrowseWould() {
        const QStringList fresh = snapshot(*m_ui.window);
        const QString first = romFile("first.bin", mismatchedRom());
        const QString second = romFile("second.bin", Bytes(0x400, 0x41));
        QVERIFY(!drop({QUrl(QStringLiteral("https://example.org/game.bin"))}, "Image1"));
        QVERIFY(!drop({QUrl::fromLocalFile(first)}, "txtHeaderInfo_2")); // editors keep drops off
        QVERIFY(!drop({QUrl::fromLocalFile(first)}, "txtHeaderChecksum"));
        QCOMPARE(snapshot(*m_ui.window), fresh);

        QVERIFY(drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}, "lblHeaderInfo_0"));
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), first);
        QCOMPARE(editor(4)->text(), QStringLiteral("GM 00000001-00"));
        QCOMPARE(checksumEditor()->text(), QStringLiteral("8F1C"));
        QVERIFY(m_ui.find("cmdSave")->isEnabled());

        const QString missing = QString::fromStdString(m_dir->file("gone.bin"));
        QVERIFY(drop({QUrl::fromLocalFile(missing)}, "fraChecksum"));
        QCOMPARE(m_ui.messages.shown.size(), 1);
        QCOMPARE(m_ui.messages.shown[0].title, QStringLiteral("Cannot Read ROM"));
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), first);
        QVERIFY(m_ui.dialog.requests.isEmpty());
        browse(std::nullopt); // Browse starts where the last drop pointed
        QCOMPARE(m_ui.dialog.requests.last().startPath, missing);
    }

    void anInterleavedImageIsRefused() {
        Bytes rom(2 * InterleavedBlockSize, 0);
        setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
        const QString path = romFile("game.smd", interleave(rom));
        const QStringList fresh = snapshot(*m_ui.window);
        browse(path);
        QCOMPARE(m_ui.messages.shown.size(), 1);
        QCOMPARE(m_ui.messages.shown[0].title, QStringLiteral("Cannot Read ROM"));
        QVERIFY(m_ui.messages.shown[0].text.startsWith(path));
        QVERIFY(m_ui.messages.shown[0].text.contains(QStringLiteral("interleaved")));
        QCOMPARE(snapshot(*m_ui.window), fresh);
    }

    void aSaveThatFailsIsReportedAndChangesNoEditor() {
        const QString path = romFile("game.bin", mismatchedRom());
        browse(path);
        QVERIFY(QFile::remove(path));
        const QStringList before = snapshot(*m_ui.window);
        save();
        QCOMPARE(m_ui.messages.shown.size(), 1);
        QCOMPARE(m_ui.messages.shown[0].title, QStringLiteral("Cannot Save ROM"));
        QVERIFY(m_ui.messages.shown[0].text.contains(path));
        QVERIFY(!QFile::exists(path)); // never created afresh
        QCOMPARE(snapshot(*m_ui.window), before);
    }
};

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
