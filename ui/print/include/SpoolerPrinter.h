#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "PagePrinter.h"

class PageImage;
class Spooler;

// Prints one page on Windows' default printer through the print spooler, at true size on both
// axes from the top left corner of the printable area: the form's painter draws it for the
// printer's device context, shapes, lines and text as GDI's own, the windowed controls as
// images. Every failure Windows reports is one: no default printer, a printer paused, offline or
// in error, a job refused as it starts or ends, a job that fails in the queue. A job still in
// the queue when the page's time is up will print, as a page in a CUPS queue does. A printer
// whose port asks for a file (Microsoft Print to PDF, the XPS Document Writer, FILE:) has the
// user asked where to save, before the page's time starts. The exchange with the spooler runs
// on one thread of its own, which makes every call on the printer's device context, while the
// calling thread serves its events; the page is painted on the calling thread and drawn on the
// printer by that one. A spooler that stops answering costs the caller
// the page's time limit: then the thread is left to finish on its own.
class SpoolerPrinter : public PagePrinter {
public:
    // Where the page of a printer that asks for a file goes, asked on the calling thread; the
    // extension is the kind of file its driver writes. Nothing when the user would rather not
    // print, or, with why set, when the question could not be asked.
    using AskWhereToSave =
        std::function<std::optional<std::wstring>(const std::wstring& extension, QString& why)>;

    // The spooler must outlive a print that ran past its time.
    explicit SpoolerPrinter(std::chrono::milliseconds pageTimeLimit = print_limits::kPage);
    SpoolerPrinter(std::chrono::milliseconds pageTimeLimit, Spooler& spooler,
                   AskWhereToSave askWhereToSave);

    // Windows' own Save As dialog, in Italian, owned by the window the user printed from.
    static std::optional<std::wstring> askInSaveDialog(const std::wstring& extension,
                                                       QString& why);

protected:
    PrintOutcome put(const PageImage& page, QString& why) override;

private:
    Spooler& m_spooler;
    AskWhereToSave m_askWhereToSave;
};
