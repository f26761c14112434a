#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

#include "Form1.h"
#include "QuilvaneVersion.h"
#include "SystemDesktop.h"
#include "ToolkitTranslations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUILVANE_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(QUILVANE_APP_ID));
    // Before any widget exists, so that nothing is built in English and then retranslated.
    installToolkitTranslations(application, QLocale::system(),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The title bar and the task switcher need no more; every size is decoded at start-up, and
    // launchers take the large ones from the icon theme.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    SystemDesktop desktop;
    Form1 form(desktop);
    form.show();
    return QApplication::exec();
}
