// SPDX-License-Identifier: MIT
// The window's two fonts, with metric-compatible stand-ins where the named ones are missing.
#pragma once

#include <QFont>

namespace quillon {

QFont defaultWindowFont();
QFont fixedPitchFont();

} // namespace quillon
