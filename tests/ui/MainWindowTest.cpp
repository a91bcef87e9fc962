// SPDX-License-Identifier: MIT
// The window as it opens: its controls where they belong, its tab order, its fonts and
// pictures, and the keys that must do nothing.
#include "FieldLineEdit.h"
#include "HeaderLayout.h"
#include "WindowUnderTest.h"
#include "frmMain.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

struct Expected {
    const char* name;
    const char* caption;          // nullptr where the control shows no caption or text
    int left, top, width, height; // twips, as the window's layout was drawn up
    int tabIndex;                 // -1 for a control outside the tab order
};

// One pixel is 15 twips.
const Expected expectedControls[] = {
    {"fraROMFile", "Current ROM File", 120, 120, 5895, 615, 0},
    {"lblROMFile", "Select a ROM file.", 120, 240, 4695, 255, 1},
    {"cmdBrowse", "Browse...", 4920, 240, 855, 255, 2},
    {"lblHeaderInfo_0", "Console Name:", 120, 840, 1335, 255, 3},
    {"lblHeaderInfo_1", "Copyright Date:", 120, 1080, 1335, 255, 4},
    {"lblHeaderInfo_2", "Domestic Name:", 120, 1320, 1335, 255, 5},
    {"txtHeaderInfo_0", "", 1440, 840, 1815, 285, 6},
    {"txtHeaderInfo_1", "", 1440, 1080, 1815, 285, 7},
    {"txtHeaderInfo_2", nullptr, 1440, 1320, 1815, 765, 8},
    {"lblHeaderInfo_3", "Overseas Name:", 120, 2040, 1335, 255, 9},
    {"txtHeaderInfo_3", nullptr, 1440, 2040, 1815, 765, 10},
    {"txtHeaderInfo_4", "", 1440, 2760, 1815, 285, 11},
    {"lblHeaderInfo_4", "Serial Number:", 120, 2760, 1335, 255, 12},
    {"txtHeaderInfo_5", "", 1440, 3000, 1815, 285, 13},
    {"lblHeaderInfo_5", "Country Code:", 120, 3000, 1335, 255, 14},
    {"fraChecksum", "Checksum", 3360, 840, 2655, 975, 15},
    {"lblChecksumFromHeader", "Checksum from header:", 120, 240, 1815, 255, 16},
    {"txtHeaderChecksum", "", 1920, 240, 495, 285, 17},
    {"lblCalcChecksumDesc", "Calculated checksum:", 120, 600, 1695, 255, 18},
    {"lblCalcChecksum", "", 1920, 600, 495, 285, 19},
    {"cmdSave", "Save Changes", 120, 3360, 3135, 375, 20},
    {"lblCopyright_0", "Quillon v1.00", 3360, 1920, 2655, 255, 21},
    {"lblCopyright_1", nullptr, 3360, 2160, 2655, 255, 22},
    {"Image1", nullptr, 3450, 2400, 2475, 1125, -1},
};

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* editor = qobject_cast<QLineEdit*>(widget))
        return editor->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    return {};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    WindowUnderTest m_ui;

private slots:
    void init() {
        m_ui.open();
        QApplication::setActiveWindow(m_ui.window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_ui.window.get()));
    }
    void cleanup() { m_ui.close(); }

    void controlsStandWhereTheLayoutPutsThem() {
        QCOMPARE(m_ui.window->windowTitle(), QStringLiteral("Quillon"));
        QCOMPARE(m_ui.window->size(), QSize(408, 256));
        QCOMPARE(m_ui.window->minimumSize(), m_ui.window->maximumSize());
        const Qt::WindowFlags flags = m_ui.window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

        for (const Expected& expected : expectedControls) {
            QWidget* widget = m_ui.find(expected.name);
            const QRect pixels(expected.left / 15, expected.top / 15, expected.width / 15,
                               expected.height / 15);
            QCOMPARE(widget->geometry(), pixels);
            if (expected.caption)
                QCOMPARE(captionOf(widget), QString::fromUtf8(expected.caption));
            QVERIFY2(!captionOf(widget).contains(u'&'), expected.name); // no access keys
        }
        QCOMPARE(m_ui.find("lblROMFile")->parentWidget(), m_ui.find("fraROMFile"));
        QCOMPARE(m_ui.find("lblCalcChecksum")->parentWidget(), m_ui.find("fraChecksum"));
        QVERIFY(!m_ui.find<QLabel>("lblCopyright_1")->text().isEmpty());
    }

    void headerEditorsFollowTheFieldTable() {
        const QString rows = QStringLiteral("abcdefghijklmnop\r\n").repeated(3);
        for (const HeaderField& field : HeaderFieldTable) {
            FieldLineEdit* editor = m_ui.headerEditor(field.index);
            QCOMPARE(editor->inputLimit(), static_cast<int>(field.length));
            auto* label = m_ui.find<QLabel>(QStringLiteral("lblHeaderInfo_%1").arg(field.index));
            QCOMPARE(label->text(), QString::fromLatin1(field.label.data(), field.label.size()));
            QCOMPARE(label->buddy(), editor);
            QCOMPARE(label->y(), editor->y());
            QCOMPARE(editor->text(), field.length == 48 ? rows : QString());
            QVERIFY(QFontInfo(editor->font()).fixedPitch());
        }
        QCOMPARE(m_ui.headerEditor(2)->text().size(), 54);
    }

    void fontsAreTheWindowsOwn() {
        const QFontInfo fixed(m_ui.find("lblCalcChecksum")->font());
        QVERIFY(fixed.fixedPitch());
        QCOMPARE(fixed.pixelSize(), 11);
        const QFontInfo proportional(m_ui.find("lblHeaderInfo_0")->font());
        QVERIFY(!proportional.fixedPitch());
        QCOMPARE(proportional.pixelSize(), 11);
        // Every caption fits its control.
        for (QLabel* label : m_ui.window->findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                             label->contentsRect().width(),
                         qPrintable(label->objectName()));
        }
    }

    void picturesAreLoaded() {
        const QPixmap picture = m_ui.find<QLabel>("Image1")->pixmap();
        QCOMPARE(picture.size(), QSize(165, 75));
        QVERIFY(picture.hasAlphaChannel());
        // The corner is transparent (palette entry 1), the cartridge's middle is not.
        const QImage image = picture.toImage();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(70, 40)), 255);
        const QList<QSize> iconSizes = m_ui.window->windowIcon().availableSizes();
        for (int size : {16, 32, 48})
            QVERIFY(iconSizes.contains(QSize(size, size)));
    }

    void focusStartsOnBrowseAndTabSkipsADisabledSave() {
        // Tab walks the controls that take the focus in ascending tab index, round to the start.
        QStringList order;
        for (int tabIndex = 0; tabIndex <= 22; ++tabIndex) {
            for (const Expected& expected : expectedControls) {
                if (expected.tabIndex == tabIndex &&
                    m_ui.find(expected.name)->focusPolicy() & Qt::TabFocus)
                    order.append(QString::fromLatin1(expected.name));
            }
        }
        QCOMPARE(order.size(), 9);
        QCOMPARE(order.first(), QStringLiteral("cmdBrowse"));
        QCOMPARE(order.last(), QStringLiteral("cmdSave"));

        QCOMPARE(QApplication::focusWidget(), m_ui.find("cmdBrowse"));
        QVERIFY(!m_ui.find("cmdSave")->isEnabled());
        const QStringList withoutSave = order.mid(1, order.size() - 2) << order.first();
        for (const QString& name : withoutSave) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        m_ui.window->setSaveEnabled(true);
        for (qsizetype i = order.size() - 1; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
        }
    }

    void enterAndEscapeDoNothing() {
        m_ui.window->setSaveEnabled(true);
        QSignalSpy browseClicks(m_ui.find<QPushButton>("cmdBrowse"), &QPushButton::clicked);
        QSignalSpy saveClicks(m_ui.find<QPushButton>("cmdSave"), &QPushButton::clicked);
        const QList<QPair<int, Qt::KeyboardModifiers>> carriageReturns{
            {Qt::Key_Return, Qt::NoModifier},    {Qt::Key_Enter, Qt::KeypadModifier},
            {Qt::Key_Return, Qt::ShiftModifier}, {Qt::Key_Return, Qt::ControlModifier},
            {Qt::Key_M, Qt::ControlModifier},
        };
        for (const HeaderField& field : HeaderFieldTable) {
            FieldLineEdit* editor = m_ui.headerEditor(field.index);
            editor->setFocus();
            editor->setText(QStringLiteral("ab"));
            editor->setCursorPosition(1);
            // The filter takes the key before the editor sees it at all.
            QSignalSpy returns(editor, &QLineEdit::returnPressed);
            for (const auto& [key, modifiers] : carriageReturns) {
                QTest::keyClick(editor, static_cast<Qt::Key>(key), modifiers);
                QCOMPARE(editor->text(), QStringLiteral("ab"));
            }
            QCOMPARE(returns.count(), 0);
            QTest::keyClick(editor, Qt::Key_Escape);
        }
        auto* checksum = m_ui.find<QLineEdit>("txtHeaderChecksum");
        checksum->setFocus();
        QTest::keyClick(checksum, Qt::Key_Return);
        QTest::keyClick(checksum, Qt::Key_Escape);
        QTest::keyClick(m_ui.window.get(), Qt::Key_Escape);
        QCOMPARE(browseClicks.count(), 0);
        QCOMPARE(saveClicks.count(), 0);
        QVERIFY(m_ui.dialog.requests.isEmpty());
        QVERIFY(m_ui.messages.shown.isEmpty());
        QVERIFY(m_ui.window->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
