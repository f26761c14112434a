#pragma once

#include <chrono>

// What the printers of every system share: why a page was or was not printed, and how long the
// system's print service may keep the window waiting for it.
enum class PrintOutcome {
    Printed,           // the job is in the printer's queue
    NoPrintService,    // no print service answered in time
    NoDefaultPrinter,  // there is no default printer
    PrinterStopped,    // the default printer is stopped: paused, offline or in error
    NotAcceptingJobs,  // the default printer's queue rejects jobs
    DrawingFailed,     // the page could not be drawn
    JobRefused,        // the job or its page was refused, or failed once queued
    ExchangeBroken,    // the exchange could not run (no thread for it) or threw
    Cancelled,         // the user chose not to print, asked where to save it: nothing to say
};

namespace print_limits {
// How long one page may take to reach the print queue, reaching the printer included: a
// print service that stops answering costs the user these seconds, then the warning.
inline constexpr std::chrono::milliseconds kPage{5000};
// How long, within that, reaching the printer may take.
inline constexpr std::chrono::milliseconds kReachPrinter{3000};
}  // namespace print_limits
