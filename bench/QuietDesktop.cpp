#include "QuietDesktop.h"

void QuietDesktop::showMessage(const QString&, MessageStyle, const QString&) {
    ++m_messagesShown;
}

void QuietDesktop::beep() {}

int QuietDesktop::currentYear() const {
    return m_system.currentYear();
}

quilvane::NumberFormat QuietDesktop::numberFormat() const {
    return m_system.numberFormat();
}

bool QuietDesktop::printPage(const PageImage&) {
    return false;
}
