#include "LayoutFont.h"

// Liberation Sans, made to Arial's metrics, is a dependency of the package; fontconfig finds it.
QFont layoutFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.0);
    return font;
}
