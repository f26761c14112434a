#include "SystemDesktop.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLibrary>
#include <QLocale>
#include <QMessageBox>

#include "PageImage.h"

void SystemDesktop::showMessage(const QString& prompt, MessageStyle style, const QString& title) {
    QMessageBox box(style == MessageStyle::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, prompt, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void SystemDesktop::beep() {
    QApplication::beep();
}

int SystemDesktop::currentYear() const {
    return QDate::currentDate().year();
}

quilvane::NumberFormat SystemDesktop::numberFormat() const {
    const QLocale locale = QLocale::system();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    quilvane::NumberFormat format;
    if (decimal.size() == 1) format.decimalSeparator = decimal.front().unicode();
    if (group.size() == 1) format.groupSeparator = group.front().unicode();
    return format;
}

bool SystemDesktop::printPage(const PageImage& page) {
    if (!m_print) m_print = loadPrintModule();
    return m_print && m_print(page);
}

SystemDesktop::PrintFunction SystemDesktop::loadPrintModule() {
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList errors;
    // Under <libdir>/<triplet>/quilvane once installed, beside the executable in the build tree.
    for (const QString& dir :
         {here.filePath(QStringLiteral(QUILVANE_PRINT_MODULE_DIR)), here.path()}) {
        QLibrary module(QDir(dir).filePath(QLatin1StringView(print_module::kFileName)));
        if (auto print = reinterpret_cast<PrintFunction>(module.resolve(print_module::kPrintPage)))
            return print;
        errors << module.errorString();
    }
    qWarning("Quilvane: no print module: %s", qPrintable(errors.join(QStringLiteral("; "))));
    return nullptr;
}
