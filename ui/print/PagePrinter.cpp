#include "PagePrinter.h"

#include <QtGlobal>
#include <cmath>

#include "PageImage.h"

bool PagePrinter::print(const PageImage& page) {
    const PrintOutcome outcome = submit(page);
    // A print the user called off is no failure, and has no warning.
    if (outcome == PrintOutcome::Cancelled) return true;
    if (outcome != PrintOutcome::Printed)
        qWarning("Quilvane: page not printed: %s", qUtf8Printable(m_lastError));
    return outcome == PrintOutcome::Printed;
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
