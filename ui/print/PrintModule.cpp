// The print module: CupsPrinter and libcups, loaded by SystemDesktop on the first print only.
#include "PrintModule.h"

#include "CupsPrinter.h"
#include "PageImage.h"

extern "C" Q_DECL_EXPORT bool quilvanePrintPage(const PageImage& page) {
    static CupsPrinter printer;
    return printer.print(page);
}
