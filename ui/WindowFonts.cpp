// SPDX-License-Identifier: MIT
#include "WindowFonts.h"

#include "FontStandIns.h"

#include <QStringList>

namespace quillon {

QFont formFont(const QString& formFamily) {
    const FontChoice choice = fontFor(formFamily.toStdString());
    QStringList families;
    for (const std::string_view family : choice.families)
        families.append(QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size())));
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(choice.fixedPitch ? QFont::Monospace : QFont::SansSerif);
    font.setFixedPitch(choice.fixedPitch);
    font.setPixelSize(FontPixelSize);
    return font;
}

} // namespace quillon
