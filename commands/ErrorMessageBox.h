// SPDX-License-Identifier: MIT
// The modal message box the commands show, behind an interface so each window brings its own
// and tests answer it themselves.
#pragma once

#include <string>

namespace quillon {

class ErrorMessageBox {
public:
    virtual ~ErrorMessageBox() = default;
    // A stop-sign box with one OK button, texts in UTF-8; returns when the user dismisses it.
    virtual void critical(const std::string& title, const std::string& text) = 0;
};

} // namespace quillon
