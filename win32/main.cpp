// SPDX-License-Identifier: MIT
// Starts Quillon on Windows: one window, with the ROM named on the command line if there is
// one, and the message loop until the window is closed.
#include "MainWindow.h"
#include "WideText.h"

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const quillon::win32::GdiPlusSession gdiPlus;
    quillon::win32::MainWindow window(instance);
    if (!window.show(showCommand))
        return 1;

    int count = 0;
    if (wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        if (count > 1)
            window.openRom(quillon::toUtf8(arguments[1]));
        ::LocalFree(arguments);
    }

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        window.deliver(message);
    return static_cast<int>(message.wParam);
}
