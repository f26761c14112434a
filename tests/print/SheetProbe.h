#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <optional>

// Looks at a printed sheet, rasterised at a known resolution, in the page's logical pixels
// (96 to the inch) counted from where the page was placed on the sheet.
class SheetProbe {
public:
    SheetProbe(QImage sheet, int dotsPerInch, QPointF pageOriginInPixels = {});

    QPointF toSheet(QPointF logical) const;
    bool isColour(QPointF logical, const QColor& colour) const;
    // The centre, in sheet pixels, of the patch of colour within a few logical pixels.
    std::optional<QPointF> centreOf(QPointF logical, const QColor& colour) const;
    // How many sheet pixels of colour run across, left and right of the point.
    double runLength(QPointF logical, const QColor& colour) const;
    // The share of sheet pixels of colour on the vertical segment from one logical point down to
    // another: for shapes that other drawing crosses.
    double verticalCoverage(QPointF top, QPointF bottom, const QColor& colour) const;
    // Whether any sheet pixel of the logical rectangle has the colour.
    bool contains(const QRectF& logical, const QColor& colour) const;

private:
    bool matches(int x, int y, const QColor& colour) const;

    QImage m_sheet;
    double m_scale;
    QPointF m_origin;
};
