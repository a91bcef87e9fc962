// SPDX-License-Identifier: MIT
// Starts Quillon: answers --help and --version without touching the window system, or opens
// the one window, with the ROM named on the command line, until the window is closed.
#include "CommandLine.h"
#include "QuillonVersion.h"
#include "frmMain.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString noDisplayText() {
    return QCoreApplication::translate("main",
                                       "quillon: no display could be opened; set DISPLAY (X11) or "
                                       "WAYLAND_DISPLAY (Wayland), or choose a Qt platform with "
                                       "QT_QPA_PLATFORM\n");
}

// On X11 and Wayland systems a display must be named in the environment, unless the platform
// is chosen outright.
bool noDisplayNamed(const QStringList& arguments) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           !arguments.contains(QStringLiteral("-platform")) &&
           !arguments.contains(QStringLiteral("--platform"));
#else
    Q_UNUSED(arguments);
    return false;
#endif
}

QtMessageHandler qtMessageHandler = nullptr;

// Qt aborts, dumping core, when it cannot reach the display it was given; while the
// application starts, such a failure ends the program with one line and status 1 instead.
void startupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type != QtFatalMsg) {
        qtMessageHandler(type, context, message);
        return;
    }
    print(stderr, noDisplayText());
    std::_Exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(quillon::VersionText.data(), quillon::VersionText.size()));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Read once before the window system is touched: Qt's own options (-platform and the like)
    // may fail this reading, and are taken off before the second.
    quillon::CommandLine early;
    early.parse(arguments);
    if (early.helpRequested() || early.versionRequested()) {
        // The usage line names the program as people type it, not the path it was started by.
        char name[] = "quillon";
        char* nameOnly[] = {name, nullptr};
        int count = 1;
        const QCoreApplication application(count, nameOnly);
        print(stdout, early.helpRequested() ? early.helpText()
                                            : QCoreApplication::applicationVersion() + u'\n');
        return EXIT_SUCCESS;
    }
    if (noDisplayNamed(arguments)) {
        print(stderr, noDisplayText());
        return EXIT_FAILURE;
    }

    qtMessageHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtMessageHandler);
    QApplication::setDesktopFileName(QStringLiteral("org.quillon.Quillon"));

    quillon::CommandLine commandLine;
    if (!commandLine.parse(QApplication::arguments())) {
        print(stderr, QStringLiteral("quillon: %1\n").arg(commandLine.errorText()));
        return EXIT_FAILURE;
    }
    quillon::frmMain window;
    QApplication::setWindowIcon(window.windowIcon()); // for the dialogs too
    window.show();
    if (const auto rom = commandLine.romPath())
        window.openRom(*rom);
    return QApplication::exec();
}
