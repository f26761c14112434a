#include "PagePrinter.h"

#include <QtGlobal>
#include <cmath>

#include "PageImage.h"

namespace {

// Whether the window has nothing to say of a print that ended so: printed, or called off.
bool succeeded(PrintOutcome outcome) {
    return outcome == PrintOutcome::Printed || outcome == PrintOutcome::Cancelled;
}

}  // namespace

bool PagePrinter::print(const PageImage& page) {
    const PrintOutcome outcome = submit(page);
    if (!succeeded(outcome)) qWarning("Quilvane: page not printed: %s", qUtf8Printable(m_lastError));
    return succeeded(outcome);
}

PrintOutcome PagePrinter::submit(const PageImage& page) {
    m_lastError.clear();
    const QSizeF size = page.sizeInPixels();
    if (!std::isfinite(size.width()) || !std::isfinite(size.height()) || size.width() <= 0 ||
        size.height() <= 0) {
        m_lastError = QStringLiteral("empty page");
        return PrintOutcome::DrawingFailed;
    }
    QString why;
    const PrintOutcome outcome = put(page, why);
    if (outcome != PrintOutcome::Printed) m_lastError = why;
    return outcome;
}
