#include "RecordingDesktop.h"

#include <QPainter>

#include "PageImage.h"

bool RecordingDesktop::printPage(const PageImage& page) {
    ++printedPages;
    if (!paintPages) return printerWorks;
    const QSize size = page.sizeInPixels().toSize();
    lastPage = QImage(size, QImage::Format_ARGB32_Premultiplied);
    lastPage.fill(Qt::transparent);
    {
        QPainter painter(&lastPage);
        page.paint(painter);
    }
    ++pagesPainted;
    if (size.isEmpty() || lastPage.isNull())
        paintingFault = QStringLiteral("the page painted onto an empty image");
    else if (lastPage.pixel(size.width() / 2, size.height() / 2) == 0)
        paintingFault = QStringLiteral("the page painted nothing at its centre");
    return printerWorks;
}
