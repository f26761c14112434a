#pragma once

class PageImage;

// The page on the system's default printer, through the system's own print service: CUPS
// (CupsPrinter.cpp) or Windows' print spooler (SpoolerPrinter.cpp), whichever is built. False
// when it could not be printed, whatever the cause; the cause goes to the log.
bool printOnDefaultPrinter(const PageImage& page);
