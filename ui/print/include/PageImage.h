#pragma once

#include <QSizeF>
#include <functional>

class QPainter;

// One page to print: something that paints itself at 96 logical pixels to the inch, so that
// the printer can draw it at true size and at its own resolution.
class PageImage {
public:
    using PaintFunction = std::function<void(QPainter&)>;

    PageImage(QSizeF sizeInPixels, PaintFunction paint)
        : m_sizeInPixels(sizeInPixels), m_paint(std::move(paint)) {}

    static constexpr double kPixelsPerInch = 96.0;

    QSizeF sizeInPixels() const { return m_sizeInPixels; }
    void paint(QPainter& painter) const { m_paint(painter); }

private:
    QSizeF m_sizeInPixels;
    PaintFunction m_paint;
};
