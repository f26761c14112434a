#include "SheetProbe.h"

#include <cmath>
#include <cstdlib>

#include "PageImage.h"

namespace {

// Rasterising blends colours only at the edges; well inside a shape they come back whole.
constexpr int kColourTolerance = 48;
constexpr double kSearchRadius = 8;  // logical pixels

}  // namespace

SheetProbe::SheetProbe(QImage sheet, int dotsPerInch, QPointF pageOriginInPixels)
    : m_sheet(sheet.convertToFormat(QImage::Format_RGB32)),
      m_scale(dotsPerInch / PageImage::kPixelsPerInch),
      m_origin(pageOriginInPixels) {}

QPointF SheetProbe::toSheet(QPointF logical) const {
    return (logical + m_origin) * m_scale;
}

bool SheetProbe::matches(int x, int y, const QColor& colour) const {
    if (!m_sheet.valid(x, y)) return false;
    const QColor pixel = m_sheet.pixelColor(x, y);
    return std::abs(pixel.red() - colour.red()) <= kColourTolerance &&
           std::abs(pixel.green() - colour.green()) <= kColourTolerance &&
           std::abs(pixel.blue() - colour.blue()) <= kColourTolerance;
}

bool SheetProbe::isColour(QPointF logical, const QColor& colour) const {
    const QPointF at = toSheet(logical);
    return matches(int(std::floor(at.x())), int(std::floor(at.y())), colour);
}

std::optional<QPointF> SheetProbe::centreOf(QPointF logical, const QColor& colour) const {
    const QPointF at = toSheet(logical);
    const int reach = int(std::ceil(kSearchRadius * m_scale));
    double sumX = 0;
    double sumY = 0;
    int count = 0;
    for (int y = int(at.y()) - reach; y <= int(at.y()) + reach; ++y) {
        for (int x = int(at.x()) - reach; x <= int(at.x()) + reach; ++x) {
            if (!matches(x, y, colour)) continue;
            sumX += x + 0.5;
            sumY += y + 0.5;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return QPointF(sumX / count, sumY / count);
}

double SheetProbe::runLength(QPointF logical, const QColor& colour) const {
    const QPointF at = toSheet(logical);
    const int y = int(std::floor(at.y()));
    const int start = int(std::floor(at.x()));
    if (!matches(start, y, colour)) return 0;
    int left = start;
    while (matches(left - 1, y, colour)) --left;
    int right = start;
    while (matches(right + 1, y, colour)) ++right;
    return right - left + 1;
}

double SheetProbe::verticalCoverage(QPointF top, QPointF bottom, const QColor& colour) const {
    const QPointF from = toSheet(top);
    const QPointF to = toSheet(bottom);
    const int x = int(std::floor(from.x()));
    int inside = 0;
    int all = 0;
    for (int y = int(std::ceil(from.y())); y < int(std::floor(to.y())); ++y, ++all)
        if (matches(x, y, colour)) ++inside;
    return all == 0 ? 0.0 : double(inside) / all;
}

bool SheetProbe::contains(const QRectF& logical, const QColor& colour) const {
    const QRectF area(toSheet(logical.topLeft()), toSheet(logical.bottomRight()));
    for (int y = int(area.top()); y <= int(area.bottom()); ++y)
        for (int x = int(area.left()); x <= int(area.right()); ++x)
            if (matches(x, y, colour)) return true;
    return false;
}
