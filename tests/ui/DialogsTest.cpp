// SPDX-License-Identifier: MIT
// The real file dialog and message box on Qt, answered here as a user would answer them.
#include "HeaderCommands.h"
#include "SystemFileDialog.h"
#include "SystemMessageBox.h"
#include "TempDir.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::test;

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // The dialog opens in the folder of the file chosen last, shows the filter's description
    // as the commands write it, and lists ROM files whatever the case of their extensions.
    void romFilterListsRomFilesInAnyCase() {
        TempDir dir;
        for (const char* name : {"a.bin", "B.GEN", "c.32X", "d.txt", "e.bin.txt"})
            writeBytes(dir.file(name), {});
        OpenFileRequest request = HeaderCommands::romRequest();
        request.startPath = dir.file("a.bin");
        QFileDialog dialog;
        configureOpenDialog(dialog, request);

        QCOMPARE(dialog.directory().absolutePath(), QString::fromStdString(dir.path().string()));
        auto* filterBox = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(filterBox);
        QCOMPARE(filterBox->count(), 1);
        QCOMPARE(filterBox->currentText(), QString::fromStdString(request.filterDescription));

        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QVERIFY(list);
        const auto listed = [&] {
            QStringList names;
            const QModelIndex root = list->rootIndex();
            for (int row = 0; row < list->model()->rowCount(root); ++row) {
                const QModelIndex index = list->model()->index(row, 0, root);
                if (index.flags().testFlag(Qt::ItemIsEnabled) && !list->isRowHidden(row))
                    names.append(index.data().toString());
            }
            names.sort();
            return names;
        };
        QTRY_COMPARE(listed(), (QStringList{"B.GEN", "a.bin", "c.32X"}));
    }

    // The box waits for the user, shows its texts as they are (a path may hold markup) beside
    // the stop sign, and one button dismisses it.
    void theMessageBoxShowsItsTextsAsTheyAreUntilDismissed() {
        const QString text = QStringLiteral("/roms/<b>game</b>.bin: Permission denied");
        QString shownTitle;
        QString shownText;
        bool stopSign = false;
        int buttons = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return; // not shown yet
            answer.stop();
            shownTitle = box->windowTitle();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (label->objectName() == QStringLiteral("qt_msgbox_label"))
                    shownText = label->textFormat() == Qt::PlainText ? label->text() : QString();
                if (label->objectName() == QStringLiteral("qt_msgboxex_icon_label")) {
                    const QPixmap shown = label->pixmap();
                    const QIcon critical =
                        box->style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, box);
                    stopSign =
                        !shown.isNull() &&
                        shown.toImage() == critical
                                               .pixmap(shown.deviceIndependentSize().toSize(),
                                                       shown.devicePixelRatio())
                                               .toImage();
                }
            }
            buttons = static_cast<int>(box->buttons().size());
            QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
        });
        answer.start(10);
        SystemMessageBox(nullptr).critical("Cannot Save ROM", text.toStdString());
        QCOMPARE(shownTitle, QStringLiteral("Cannot Save ROM"));
        QCOMPARE(shownText, text);
        QVERIFY(stopSign);
        QCOMPARE(buttons, 1);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
