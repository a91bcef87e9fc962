// SPDX-License-Identifier: MIT
#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

namespace quillon::test {

int exitCodeInChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace quillon::test
