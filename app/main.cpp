// Starts Quillon: one window, and the event loop until it is closed.
#include "frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("org.quillon.Quillon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillon/quillon.ico")));

    quillon::frmMain window;
    window.show();
    return QApplication::exec();
}
