#pragma once

#include <memory>

#include "CupsPrinter.h"
#include "RecordingDesktop.h"

// A desktop that prints for real, through CupsPrinter on the default destination, but writes
// down its messages and beeps instead of showing them, so that nothing modal stops a test.
class PrintingDesktop : public RecordingDesktop {
public:
    bool printPage(const PageImage& page) override {
        ++printsAsked;
        if (!m_printer) m_printer = std::make_unique<CupsPrinter>(pageTimeLimit);
        return m_printer->print(page);
    }

    int printsAsked = 0;

    // Shorter for tests that need a print on its way but not the whole wait for a silent server.
    std::chrono::milliseconds pageTimeLimit = print_limits::kPage;

private:
    std::unique_ptr<CupsPrinter> m_printer;
};
