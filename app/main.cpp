// SPDX-License-Identifier: MIT
// Starts Quillon: one window, and the event loop until it is closed.
#include "QuillonVersion.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(quillon::VersionText.data(), quillon::VersionText.size()));
    QApplication::setDesktopFileName(QStringLiteral("org.quillon.Quillon"));

    quillon::frmMain window;
    QApplication::setWindowIcon(window.windowIcon()); // for the dialogs too
    window.show();
    return QApplication::exec();
}
