// SPDX-License-Identifier: MIT
// Running part of a test in a process of its own, for tests that change the process's limits,
// identity or view of the file systems.
#pragma once

#include <functional>

namespace quillon::test {

// Runs body in a child process: its return value, or 128 + the signal that ended it.
int exitCodeInChild(const std::function<int()>& body);

} // namespace quillon::test
