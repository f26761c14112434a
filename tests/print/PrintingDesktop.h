#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "CupsPrinter.h"
#include "Desktop.h"

// A desktop that prints for real, through CupsPrinter on the default destination, but writes
// down its messages and beeps instead of showing them, so that nothing modal stops a test.
class PrintingDesktop : public Desktop {
public:
    struct Message {
        QString prompt;
        MessageStyle style;
        QString title;
    };

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override {
        messages.push_back({prompt, style, title});
    }
    void beep() override { ++beeps; }
    int currentYear() const override { return 2024; }
    quilvane::NumberFormat numberFormat() const override { return {u',', u'.'}; }
    bool printPage(const PageImage& page) override {
        if (!m_printer) m_printer = std::make_unique<CupsPrinter>();
        return m_printer->print(page);
    }

    std::vector<Message> messages;
    int beeps = 0;

private:
    std::unique_ptr<CupsPrinter> m_printer;
};
