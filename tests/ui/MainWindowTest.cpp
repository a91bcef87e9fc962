// SPDX-License-Identifier: MIT
// What of the Qt window its contract with the Win32 one cannot ask: the pictures it loads
// through Qt's image plugins, and drags that carry something other than files.
#include "RomBuilder.h"
#include "WindowUnderTest.h"
#include "frmMain.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace quillon;
using namespace quillon::test;

class MainWindowTest : public QObject {
    Q_OBJECT

    WindowUnderTest m_ui;

private slots:
    void init() { m_ui.open(); }
    void cleanup() { m_ui.close(); }

    void picturesAreLoaded() {
        const QPixmap picture = m_ui.find<QLabel>("Image1")->pixmap();
        QCOMPARE(picture.size(), QSize(165, 75));
        // The corner is transparent (palette entry 1), the cartridge's middle is not.
        const QImage image = picture.toImage();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(70, 40)), 255);
        const QList<QSize> iconSizes = m_ui.window->windowIcon().availableSizes();
        for (int size : {16, 32, 48})
            QVERIFY(iconSizes.contains(QSize(size, size)));
    }

    // A web address dragged in first is no file to open, even with a file after it: the
    // pointer says so while dragging, and letting go changes nothing.
    void aDraggedWebAddressOpensNothing() {
        TempDir dir;
        const std::string rom = dir.file("game.bin");
        writeBytes(rom, mismatchedRom());
        QMimeData data;
        data.setUrls({QUrl(QStringLiteral("https://example.org/game.bin")),
                      QUrl::fromLocalFile(QString::fromStdString(rom))});
        const QPoint at = m_ui.find("lblHeaderInfo_0")->geometry().center();
        const QString before = m_ui.find<QLabel>("lblROMFile")->text();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ui.window.get(), &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ui.window.get(), &dropped);
        QVERIFY(!dropped.isAccepted());
        QCOMPARE(m_ui.find<QLabel>("lblROMFile")->text(), before);
        QVERIFY(m_ui.messages.shown.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
