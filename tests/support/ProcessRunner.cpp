// SPDX-License-Identifier: MIT
#include "ProcessRunner.h"

#include <stdexcept>

#ifdef _WIN32

#include "WideText.h"

#include <windows.h>

namespace quillon::test {

namespace {

// Quotes an argument so that the C runtime's parsing of the command line gives it back exactly:
// backslashes are literal except in front of a quote, where they must be doubled.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        result.push_back(c);
        backslashes = 0;
    }
    result.append(2 * backslashes, L'\\');
    result.push_back(L'"');
    return result;
}

HANDLE inheritableOutput(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file = ::CreateFileW(toUtf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    return file;
}

} // namespace

int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& outPath, const std::string& errPath,
               const std::string& workingFolder) {
    std::wstring commandLine = quoted(toUtf16(program));
    for (const std::string& argument : arguments)
        commandLine.append(L" ").append(quoted(toUtf16(argument)));

    const HANDLE out = inheritableOutput(outPath);
    const HANDLE err = inheritableOutput(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const std::wstring folder = toUtf16(workingFolder);
    const bool started =
        ::CreateProcessW(toUtf16(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                         nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    ::CloseHandle(out);
    ::CloseHandle(err);
    if (!started)
        throw std::runtime_error("cannot run " + program);

    DWORD status = 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    const bool exited = ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exited ? static_cast<int>(status) : -1;
}

} // namespace quillon::test

#else

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillon::test {

int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& outPath, const std::string& errPath,
               const std::string& workingFolder) {
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), flags, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), flags, 0644);
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t child = 0;
    const int failed =
        ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        throw std::runtime_error("cannot run " + program);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace quillon::test

#endif
