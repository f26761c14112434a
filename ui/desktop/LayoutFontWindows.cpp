#include "LayoutFont.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace {

// Windows has Arial. Where it has not (Wine), the copy of Liberation Sans, made to Arial's
// metrics, that the program carries in fonts/ beside it is added for this process alone.
QString arialOrItsMetrics() {
    const QString arial = QStringLiteral("Arial");
    if (QFontDatabase::hasFamily(arial)) return arial;
    const QString carried = QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral("fonts/LiberationSans-Regular.ttf"));
    const QStringList families =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(carried));
    return families.isEmpty() ? arial : families.front();
}

}  // namespace

QFont layoutFont() {
    static const QString family = arialOrItsMetrics();
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.0);
    // The font's own widths, as the layout was measured with them: GDI's hinting rounds each
    // glyph to whole pixels and widens the captions. Qt draws such a font with DirectWrite.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
