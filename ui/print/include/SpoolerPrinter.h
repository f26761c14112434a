#pragma once

#include "PagePrinter.h"

class PageImage;

// Prints one page on Windows' default printer through the print spooler, at true size from the
// top left corner of the printable area, without any dialog: the form's painter draws it on the
// printer's device context, shapes, lines and text as GDI's own, the windowed controls as
// images. Every failure Windows reports is one: no default printer, a printer paused, offline or
// in error, a job refused as it starts or ends, a job that fails once queued. The exchange with
// the spooler runs on threads of its own while the calling thread serves its events, user input
// held back; the page is painted on the calling thread. A spooler that stops answering costs
// the caller the page's time limit: then the thread is left to finish on its own.
class SpoolerPrinter : public PagePrinter {
public:
    explicit SpoolerPrinter(std::chrono::milliseconds pageTimeLimit = print_limits::kPage);

protected:
    PrintOutcome put(const PageImage& page, QString& why) override;
};
