// SPDX-License-Identifier: MIT
// How a file's failure is kept, alike on every system: the first one wins, and
// whoever reports it adds the path.
#include "OutputFile.h"
#include "SystemError.h"
#include "SystemFile.h"

namespace quillon {

bool SystemFile::fail(int errorNumber) { return fail(systemErrorText(errorNumber).c_str()); }

bool SystemFile::fail(const char* reason) {
    if (m_error.empty())
        m_error = reason;
    return false;
}

bool OutputFile::fail(int errorNumber) {
    if (m_error.empty())
        m_error = systemErrorText(errorNumber);
    discard();
    return false;
}

} // namespace quillon
