#include "ToolkitTranslations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>

namespace {

const QString kTranslatorName = QStringLiteral("ToolkitTranslations");

}  // namespace

bool installToolkitTranslations(QCoreApplication& application, const QLocale& locale,
                                const QString& directory) {
    if (auto* earlier =
            application.findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(earlier);
        delete earlier;
    }

    // Tries the locale's languages in the user's order ("it-IT", then "it", ...), as Qt does.
    auto* translator = new QTranslator(&application);
    translator->setObjectName(kTranslatorName);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), directory)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);

    // A right-to-left catalogue (Hebrew, Arabic, Persian) would turn the whole application
    // right-to-left and mirror the window's fixed layout and its Italian message boxes.
    if (qobject_cast<QGuiApplication*>(&application))
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    return true;
}
