// SPDX-License-Identifier: MIT
#include "SystemError.h"

#include <system_error>

namespace quillon {

std::string systemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace quillon
