// SPDX-License-Identifier: MIT
// quillon-cli: shows, checks and edits ROM headers from the command line.
#include "CliApp.h"

#ifdef _WIN32

#include "WideText.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <string>
#include <vector>
#include <windows.h>

// Windows hands over the command line in UTF-16; the program works in UTF-8 throughout, so that
// paths like "ロム.bin" reach the file functions whole.
int wmain(int argc, wchar_t* argv[]) {
    std::vector<std::string> arguments;
    std::vector<char*> pointers;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(quillon::toUtf8(argv[i]));
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    // The output is UTF-8 with "\n" line ends, byte for byte what the Linux build writes, and a
    // console shows it in UTF-8 for as long as the program runs.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const UINT consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0)
        ::SetConsoleOutputCP(CP_UTF8);
    const int status = quillon::cli::run(argc, pointers.data());
    std::cout.flush();
    std::cerr.flush();
    if (consoleCodePage != 0)
        ::SetConsoleOutputCP(consoleCodePage);
    return status;
}

#else

int main(int argc, char* argv[]) { return quillon::cli::run(argc, argv); }

#endif
