#pragma once

#include "PagePrinter.h"

class PageImage;

// Prints one page on the default CUPS destination, as a vector PDF at true size, without any
// dialog. The whole page is bounded in time, so a print server that accepts the connection and
// then goes silent costs the caller a few seconds, not a hung window: the exchange with the
// server runs on threads of its own while the calling thread serves its events, user input held
// back; the page is painted on the calling thread. Nothing talks to CUPS before the first page
// is printed.
class CupsPrinter : public PagePrinter {
public:
    // Uses the print server CUPS is configured with (client.conf, CUPS_SERVER).
    explicit CupsPrinter(std::chrono::milliseconds pageTimeLimit = print_limits::kPage);

protected:
    PrintOutcome put(const PageImage& page, QString& why) override;
};
