#pragma once

#include <memory>

#include "Desktop.h"

class CupsPrinter;

// The real desktop: Qt's message boxes and beep, today's date, the user's regional format and
// the system's print service, which is not touched until something is printed.
class SystemDesktop : public Desktop {
public:
    SystemDesktop();
    ~SystemDesktop() override;

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override;
    void beep() override;
    int currentYear() const override;
    quilvane::NumberFormat numberFormat() const override;
    bool printPage(const PageImage& page) override;

private:
    std::unique_ptr<CupsPrinter> m_printer;
};
