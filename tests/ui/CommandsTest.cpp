// SPDX-License-Identifier: MIT
// Browse and Save through the real window, with the dialog and message boxes answered here.
#include "FieldLineEdit.h"
#include "RomBuilder.h"
#include "TextConversion.h"
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

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    WindowUnderTest m_ui;
    std::unique_ptr<TempDir> m_dir;

    FieldLineEdit* editor(std::size_t index) { return m_ui.headerEditor(index); }
    QLineEdit* checksumEditor() { return m_ui.find<QLineEdit>("txtHeaderChecksum"); }

    QString romFile(const QString& name, const Bytes& bytes) {
        const QString path = QDir(pathFromCore(m_dir->path().string())).filePath(name);
        writeBytes(pathForCore(path), bytes);
        return path;
    }
    void browse(const std::optional<QString>& answer) {
        m_ui.dialog.answers.push_back(answer ? std::optional(pathForCore(*answer)) : std::nullopt);
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

    // The commands themselves are tested on their own; here, that the window hands them its
    // controls' texts and shows theirs, through the character set and the file system's names.
    void browseAndSaveGoThroughTheControls() {
        Bytes rom = mismatchedRom();
        setFieldBytes(rom, HeaderFieldTable[2], "DOMESTIC\xA9\r\nNAME");
        const QString path = romFile(QStringLiteral("gam\u00E9.bin"), rom);
        browse(path);
        QCOMPARE(m_ui.dialog.requests.size(), std::size_t{1});
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), path);
        QCOMPARE(editor(0)->text(), QStringLiteral("SEGA MEGA DRIVE "));
        QCOMPARE(editor(2)->text(), QStringLiteral("DOMESTIC\u00A9\r\nNAME"));
        QCOMPARE(checksumEditor()->text(), QStringLiteral("8F1C"));
        QCOMPARE(m_ui.find<QLabel>("lblCalcChecksum")->text(), QStringLiteral("8F1D"));
        QVERIFY(m_ui.find("cmdSave")->isEnabled());

        typeChecksum(QStringLiteral("8F1D"));
        editor(3)->selectAll();
        QTest::keyClicks(editor(3), QStringLiteral("NEW \u00C9"));
        save();
        QVERIFY(m_ui.messages.shown.empty());
        Bytes expected = rom;
        expected[0x18F] = 0x1D;
        setFieldBytes(expected, HeaderFieldTable[2], "DOMESTIC\xA9\r\nNAME" + std::string(34, ' '));
        setFieldBytes(expected, HeaderFieldTable[3], "NEW \xC9" + std::string(43, ' '));
        QCOMPARE(readBytes(pathForCore(path)), expected);
        QCOMPARE(editor(3)->text(), QStringLiteral("NEW \u00C9") + QString(43, u' '));

        browse(std::nullopt);
        QCOMPARE(m_ui.dialog.requests.back().startPath, pathForCore(path));
    }

    void failuresReachTheMessageBoxAndChangeNothing() {
        const QStringList fresh = snapshot(*m_ui.window);
        browse(std::nullopt);
        browse(QString::fromStdString(m_dir->file("gone.bin")));
        QCOMPARE(m_ui.messages.shown.size(), std::size_t{1});
        QCOMPARE(m_ui.messages.shown[0].title, std::string("Cannot Read ROM"));
        QCOMPARE(snapshot(*m_ui.window), fresh);

        const QString path = romFile(QStringLiteral("game.bin"), mismatchedRom());
        browse(path);
        typeChecksum(QStringLiteral("0x1234"));
        save();
        QCOMPARE(m_ui.messages.shown.size(), std::size_t{2});
        QCOMPARE(m_ui.messages.shown[1].title, std::string("Invalid Checksum"));
        QCOMPARE(readBytes(pathForCore(path)), mismatchedRom());
    }

    void aDroppedRomLoadsAsBrowseWould() {
        const QStringList fresh = snapshot(*m_ui.window);
        const QString first = romFile(QStringLiteral("first.bin"), mismatchedRom());
        const QString second = romFile(QStringLiteral("second.bin"), Bytes(0x400, 0x41));
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
        QCOMPARE(m_ui.messages.shown.size(), std::size_t{1});
        QCOMPARE(m_ui.messages.shown[0].title, std::string("Cannot Read ROM"));
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), first);
        QVERIFY(m_ui.dialog.requests.empty());
        browse(std::nullopt); // Browse starts where the last drop pointed
        QCOMPARE(m_ui.dialog.requests.back().startPath, pathForCore(missing));
    }
};

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
