#pragma once

#include "Desktop.h"
#include "PrintModule.h"

// The real desktop: Qt's message boxes and beep, today's date, the user's regional format and
// the system's print service, which is not touched until something is printed.
class SystemDesktop : public Desktop {
public:
    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override;
    void beep() override;
    int currentYear() const override;
    quilvane::NumberFormat numberFormat() const override;
    bool printPage(const PageImage& page) override;

private:
    using PrintFunction = print_module::PrintPage;
    // libcups and the TLS, Kerberos and Avahi libraries behind it would cost every start 3 MB
    // and some milliseconds: CupsPrinter lives in a module loaded on the first print.
    static PrintFunction loadPrintModule();

    PrintFunction m_print = nullptr;
};
