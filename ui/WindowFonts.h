// SPDX-License-Identifier: MIT
// The window's fonts on Qt: the family the form names, or a stand-in of its kind, in pixels.
#pragma once

#include <QFont>

namespace quillon {

QFont formFont(const QString& formFamily);

} // namespace quillon
