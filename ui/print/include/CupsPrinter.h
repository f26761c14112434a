#pragma once

#include <QString>
#include <chrono>

#include "PagePrinter.h"
#include "PrintService.h"

class PageImage;

// Prints one page on the default CUPS destination, as a vector PDF at true size, without any
// dialog. The whole page is bounded in time, so a print server that accepts the connection and
// then goes silent costs the caller a few seconds, not a hung window: the exchange with the
// server runs on threads of its own while the calling thread serves its events, user input held
// back; the page is painted on the calling thread. Nothing talks to CUPS before the first page
// is printed.
class CupsPrinter : public PagePrinter {
public:
    // How long one page may take to reach the print queue, connecting to the server included.
    static constexpr std::chrono::milliseconds kPageTimeLimit = print_limits::kPage;
    // How long, within that, connecting to the server may take.
    static constexpr std::chrono::milliseconds kConnectTimeLimit = print_limits::kReachPrinter;

    // Uses the print server CUPS is configured with (client.conf, CUPS_SERVER).
    explicit CupsPrinter(std::chrono::milliseconds pageTimeLimit = kPageTimeLimit);

protected:
    PrintOutcome put(const PageImage& page, QString& why) override;
};
