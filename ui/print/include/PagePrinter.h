#pragma once

#include <QString>
#include <chrono>

#include "PrintService.h"

class PageImage;

// A system's printer: one page on the default printer, or why it could not be printed. Each
// system's print service puts the page there its own way (CupsPrinter, SpoolerPrinter).
class PagePrinter {
public:
    // pageTimeLimit: how long one page may take to reach the printer, reaching it included.
    explicit PagePrinter(std::chrono::milliseconds pageTimeLimit) : m_pageTimeLimit(pageTimeLimit) {}
    virtual ~PagePrinter() = default;

    // False when the page could not be queued, whatever the cause; the cause goes to the log.
    // True also when the user called the print off.
    bool print(const PageImage& page);
    // Returns when the page is queued or has failed. The calling thread serves its events
    // meanwhile: whatever they run must not start another page on this printer.
    PrintOutcome submit(const PageImage& page);

    // What went wrong the last time, in words for the log; empty after a printed page.
    QString lastError() const { return m_lastError; }

protected:
    // Puts a page that can be drawn (of a size, a finite one) on the printer; after a failure,
    // why says what went wrong, for the log.
    virtual PrintOutcome put(const PageImage& page, QString& why) = 0;
    std::chrono::milliseconds pageTimeLimit() const { return m_pageTimeLimit; }

private:
    std::chrono::milliseconds m_pageTimeLimit;
    QString m_lastError;
};
