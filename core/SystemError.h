// SPDX-License-Identifier: MIT
// The system's own reason for a failure, in one line of UTF-8.
#pragma once

#include <string>

namespace quillon {

// errorNumber is errno on POSIX systems and GetLastError() on Windows.
std::string systemErrorText(int errorNumber);

} // namespace quillon
