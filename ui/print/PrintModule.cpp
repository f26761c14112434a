// The print module: CupsPrinter and libcups, loaded by SystemDesktop on the first print only.
#include "PrintModule.h"

#include "CupsPrinter.h"
#include "PageImage.h"

// Nothing may cross this C entry point into the window's event handler: whatever throws is a
// print that failed.
extern "C" Q_DECL_EXPORT bool quilvanePrintPage(const PageImage& page) {
    try {
        static CupsPrinter printer;
        return printer.print(page);
    } catch (...) {
        qWarning("Quilvane: page not printed: the print failed unexpectedly");
        return false;
    }
}
