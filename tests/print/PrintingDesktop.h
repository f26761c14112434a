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
        if (!m_printer) m_printer = std::make_unique<CupsPrinter>();
        return m_printer->print(page);
    }

    int printsAsked = 0;

private:
    std::unique_ptr<CupsPrinter> m_printer;
};
