// SPDX-License-Identifier: MIT
// The real file dialog's filter and start, and the real message box, without showing either.
#include "HeaderCommands.h"
#include "SystemFileDialog.h"
#include "SystemMessageBox.h"
#include "TempDir.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void romFilterListsRomFilesInAnyCase() {
        TempDir dir;
        for (const char* name : {"a.bin", "B.GEN", "c.32X", "d.txt", "e.bin.txt"})
            writeBytes(dir.file(name), {});
        OpenFileRequest request = HeaderCommands::romRequest();
        request.startPath = dir.file("a.bin");
        QFileDialog dialog;
        configureOpenDialog(dialog, request);

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select a ROM file"));
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.directory().absolutePath(), QString::fromStdString(dir.path().string()));
        // The user sees the filter's description exactly as it is written.
        auto* filterBox = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(filterBox);
        QCOMPARE(filterBox->count(), 1);
        QCOMPARE(filterBox->currentText(),
                 QStringLiteral("Genesis Binary ROM Files (*.BIN;*.GEN;*.32x)"));

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

    void criticalBoxHasTheStopSignAndOneOkButton() {
        const auto box = makeCriticalBox(nullptr, QStringLiteral("Invalid Checksum"),
                                         QStringLiteral("Invalid checksum entered."));
        QCOMPARE(box->windowTitle(), QStringLiteral("Invalid Checksum"));
        QCOMPARE(box->text(), QStringLiteral("Invalid checksum entered."));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        QCOMPARE(box->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
