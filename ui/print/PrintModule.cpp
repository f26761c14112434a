// The print module, loaded by SystemDesktop on the first print only: the system's print service
// and the libraries behind it stay out of the program's start.
#include "PrintModule.h"

#include "DefaultPrinter.h"

// Nothing may cross this C entry point into the window's event handler: whatever throws is a
// print that failed.
extern "C" Q_DECL_EXPORT bool quilvanePrintPage(const PageImage& page) {
    try {
        return printOnDefaultPrinter(page);
    } catch (...) {
        qWarning("Quilvane: page not printed: the print failed unexpectedly");
        return false;
    }
}
