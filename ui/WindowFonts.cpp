// SPDX-License-Identifier: MIT
#include "WindowFonts.h"

#include <QStringList>

namespace quillon {

namespace {

// 8.25 points at 96 dots per inch. The window's geometry is fixed in pixels, so its fonts are
// too; in points they would outgrow their boxes on a screen that reports another resolution.
constexpr int pixelSize = 11;

QFont firstInstalled(const QStringList& families, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont defaultWindowFont() {
    return firstInstalled({"Tahoma", "Liberation Sans", "DejaVu Sans"}, QFont::SansSerif);
}

QFont fixedPitchFont() {
    QFont font =
        firstInstalled({"Courier New", "Liberation Mono", "DejaVu Sans Mono"}, QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace quillon
