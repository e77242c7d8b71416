// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_fonts.h"

#include <QStringList>

namespace korvanet {

void InstallFormFontSubstitute() {
    const QString family = QString::fromLatin1(kFormFontFamily);
    if (!QFont::substitutes(family).contains(QString::fromLatin1(kFormFontStandIn))) {
        QFont::insertSubstitution(family, QString::fromLatin1(kFormFontStandIn));
    }
}

QFont FormFont(double points) {
    QFont font(QString::fromLatin1(kFormFontFamily));
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

}  // namespace korvanet
