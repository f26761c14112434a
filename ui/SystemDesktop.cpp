#include "SystemDesktop.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QMessageBox>

#include "CupsPrinter.h"
#include "PageImage.h"

SystemDesktop::SystemDesktop() = default;
SystemDesktop::~SystemDesktop() = default;

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
    if (!m_printer) m_printer = std::make_unique<CupsPrinter>();
    return m_printer->print(page);
}
