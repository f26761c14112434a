#include "ScriptedDesktop.h"

#include <QImage>
#include <QPainter>

#include "PageImage.h"

void ScriptedDesktop::showMessage(const QString& prompt, MessageStyle /*style*/,
                                  const QString& title) {
    m_messages.append(title + QStringLiteral(": ") + prompt);
}

bool ScriptedDesktop::printPage(const PageImage& page) {
    if (m_nextPainted) {
        const QSize size = page.sizeInPixels().toSize();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            page.paint(painter);
        }
        ++m_pagesPainted;
        if (size.isEmpty() || image.isNull())
            m_paintingFault = QStringLiteral("the page painted onto an empty image");
        else if (image.pixel(size.width() / 2, size.height() / 2) == 0)
            m_paintingFault = QStringLiteral("the page painted nothing at its centre");
    }
    return m_nextPrinted;
}

void ScriptedDesktop::scriptNextPrint(bool printed, bool paint) {
    m_nextPrinted = printed;
    m_nextPainted = paint;
}
