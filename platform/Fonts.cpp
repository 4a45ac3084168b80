#include "platform/Fonts.h"

#include <QFontDatabase>

namespace platform {

QStringList windowFontFamilies() {
    QStringList families{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (!system.isEmpty() && !families.contains(system, Qt::CaseInsensitive)) {
        families << system;
    }
    return families;
}

QFont windowFont(qreal pointSize) {
    QFont font;
    font.setFamilies(windowFontFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace platform
